#include "window/SweepRun.h"

#include <tarvic/platform/Text.h>

#include "engine/lab/StoredModel.h"
#include "engine/outputs/SweepText.h"
#include "window/Workbench.h"

namespace banc::window {

// The sweep's news on the session's thread: the experiment's passed on to the
// session's listener (the live values keep the synoptic going), the
// frequencies' carried over to the window's thread.
class SweepRun::News : public SweepObserver {
public:
    News(SweepRun& owner, ExperimentObserver& session) : m_owner(owner), m_session(session) {}

    void Started(int lines) override { m_session.Started(lines); }
    void Live(const LiveValues& values) override { m_session.Live(values); }
    void BlockAcquired(int acquired, int total) override { m_session.BlockAcquired(acquired, total); }
    void Silent(const std::string& message) override { m_session.Silent(message); }
    void OrderRefused(const std::string& message) override { m_session.OrderRefused(message); }
    void Resting(double seconds) override
    {
        Post([seconds](SweepRun& run) { emit run.resting(seconds); });
    }
    void FrequencyStarted(int index, int count, double hz) override
    {
        Post([=](SweepRun& run) { emit run.frequencyStarted(index, count, hz); });
    }
    void FrequencyMeasured(int index, int count, const analysis::BodePoint& point) override
    {
        Post([index, count, hz = point.frequencyHz](SweepRun& run) { emit run.frequencyMeasured(index, count, hz); });
    }

private:
    template <class Deliver>
    void Post(Deliver deliver)
    {
        QMetaObject::invokeMethod(&m_owner, [owner = &m_owner, deliver] { deliver(*owner); }, Qt::QueuedConnection);
    }

    SweepRun& m_owner;
    ExperimentObserver& m_session;
};

SweepRun::SweepRun(Workbench& workbench, QObject* parent) : QObject(parent), m_workbench(workbench) {}

std::string SweepRun::Start(SweepRequest request, std::string& warning)
{
    // The recording's period keeps each frequency's blocks within what the link fetches at the card's pace.
    const CardChoice& card = m_workbench.CardChosen();
    request.speed = card.embedded ? card.speed : 1.0;
    if (m_workbench.Running()) return "Un essai est en cours : arr\xEAtez-le d'abord.";
    {
        std::lock_guard lock(m_workbench.Lock());
        const Settings& settings = m_workbench.LiveSettings();
        const Elements& elements = m_workbench.LiveElements();
        const std::optional<analysis::ProcessModel> model = LoadModel(*m_workbench.BenchProfile(), settings, elements);
        m_plan = PlanSweep(request, settings, elements, model);
    }
    if (!m_plan->refusal.empty()) return m_plan->refusal;
    warning = m_plan->warning;
    m_speed = request.speed;
    {
        std::lock_guard lock(m_mutex);
        m_stopAsked = false;
        m_result = {};
    }
    // Active already as the run starts: the window shows a sweep's progress, not a run's.
    m_active = true;
    if (std::string error = m_workbench.StartJob(*this); !error.empty()) {
        m_active = false;
        return error;
    }
    return {};
}

SweepResult SweepRun::TakeResult()
{
    m_active = false;
    std::lock_guard lock(m_mutex);
    return std::exchange(m_result, {});
}

Outcome SweepRun::Run(CardLink& link, std::mutex& elementsLock, ExperimentObserver& observer)
{
    News news(*this, observer);
    std::optional<FrequencySweep> sweep;
    {
        std::lock_guard hold(elementsLock);  // the sweep reads the elements' scales
        sweep.emplace(m_workbench.LiveElements(), m_workbench.LiveSettings(), link, std::move(*m_plan));
    }
    sweep->SetLock(&elementsLock);
    sweep->SetObserver(&news);
    sweep->SetSpeed(m_speed);
    {
        std::lock_guard lock(m_mutex);
        m_sweep = &*sweep;
        if (m_stopAsked) sweep->RequestStop();
    }
    SweepResult result = sweep->Run();
    std::lock_guard lock(m_mutex);
    m_sweep = nullptr;
    m_result = std::move(result);
    return m_result.outcome;
}

void SweepRun::RequestStop()
{
    std::lock_guard lock(m_mutex);
    m_stopAsked = true;
    if (m_sweep) m_sweep->RequestStop();
}

std::string SweepOutcomeText(const SweepResult& result)
{
    const int measured = static_cast<int>(result.points.size());
    const int planned = measured + static_cast<int>(result.missingHz.size());
    const char* plural = measured > 1 ? "s" : "";
    std::string text = tarvic::Format("R\xE9ponse fr\xE9quentielle : %d fr\xE9quence%s mesur\xE9" "e%s sur %d.",
                                      measured, plural, plural, planned);
    if (result.outcome.status != Outcome::Status::Finished) text = result.outcome.message + " " + text;
    if (!result.missingHz.empty()) text += " " + MissingText(result.missingHz);
    return text;
}

}  // namespace banc::window
