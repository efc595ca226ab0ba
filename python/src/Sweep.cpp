#include "Sweep.h"

#include <tarvic/platform/Text.h>

#include "Errors.h"
#include "cli/SweepRun.h"
#include "engine/lab/StoredModel.h"
#include "engine/outputs/SweepDiagram.h"
#include "engine/outputs/SweepJson.h"
#include "engine/outputs/SweepSummary.h"

namespace banc::python {
Sweep::Sweep(BenchSession& session, const Arguments& arguments) : m_session(session)
{
    const cli::Request request = session.Read(arguments, m_settings);
    session.Configure(m_settings, m_elements);
    const SweepRequest asked = cli::SweepAsked(request, m_settings);
    m_plan = PlanSweep(asked, m_settings, m_elements, LoadModel(*session.Profile(), m_settings, m_elements));
    if (!m_plan.refusal.empty()) throw UsageError(m_plan.refusal);
    m_speed = request.speed.value_or(1);
}

std::string Sweep::Warning() const { return tarvic::Latin1ToUtf8(m_plan.warning); }

void Sweep::Run()
{
    CardLink& link = m_session.Link();
    // A stop of the run before may have left its exchanges given up.
    link.Resume();
    FrequencySweep sweep(m_elements, m_settings, link, m_plan);
    sweep.SetObserver(this);
    sweep.SetSpeed(m_speed);
    {
        std::lock_guard lock(m_mutex);
        m_sweep = &sweep;
        if (m_stopAsked) sweep.RequestStop();
    }
    SweepResult result = sweep.Run();
    {
        std::lock_guard lock(m_mutex);
        m_sweep = nullptr;
    }
    m_result = std::move(result);
    // As the console: the loop's margins only for a sweep that measured something.
    if (!m_result.outcome.unusable && !m_result.points.empty())
        m_loop = LoopOfSweep(m_result, m_settings, m_session.Profile());
    else
        m_loop.refusal = "aucune fr\xE9quence mesur\xE9" "e.";
}

void Sweep::RequestStop()
{
    std::lock_guard lock(m_mutex);
    m_stopAsked = true;
    if (m_sweep) m_sweep->RequestStop();
}

void Sweep::FrequencyMeasured(int, int, const analysis::BodePoint&) { ++m_measured; }

std::string Sweep::Json() const { return SweepJson(m_settings, m_plan, m_result, &m_loop); }

std::string Sweep::Text() const { return tarvic::Latin1ToUtf8(SweepSummary(m_settings, m_result, m_loop)); }

std::vector<analysis::BodePoint> Sweep::ModelCurve() const { return SweepModelCurve(m_result); }

}  // namespace banc::python
