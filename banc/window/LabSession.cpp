#include "window/LabSession.h"

#include <mutex>

#include "engine/outputs/AnalysisPlot.h"
#include "engine/outputs/Results.h"
#include "window/Workbench.h"

namespace banc::window {

LabSession::LabSession(Workbench& workbench, QObject* parent) : QObject(parent), m_workbench(workbench)
{
    // Another experiment shown: the identification was of the one before.
    connect(&workbench, &Workbench::shownChanged, this, [this] {
        m_cut = false;
        Forget();
    });
    connect(&workbench, &Workbench::runStarted, this, &LabSession::Forget);
    // A run stopped, or cut by a fault, may end before the response settles: it identifies nothing.
    connect(&workbench, &Workbench::runEnded, this,
            [this](const Outcome& outcome) { m_cut = outcome.status != Outcome::Status::Finished; });
    connect(&workbench, &Workbench::elementsChanged, this, &LabSession::Predict);
}

bool LabSession::Identifiable()
{
    if (m_workbench.Running() || m_cut) return false;
    std::lock_guard lock(m_workbench.Lock());
    return m_workbench.ShownSettings().mode->controller == &kOpenLoop &&
           BlocksAcquired(*m_workbench.ShownElements().recording) > 0;
}

std::string LabSession::Identify()
{
    if (m_cut && !m_workbench.Running())
        return "L'essai s'est arr\xEAt\xE9 avant sa fin : il n'identifie rien. Refaites-le jusqu'au bout.";
    if (!Identifiable()) return "Rien \xE0 identifier : il faut un essai en boucle ouverte termin\xE9 ou ouvert.";
    {
        std::lock_guard lock(m_workbench.Lock());
        m_identified = m_workbench.ShownSettings();
        m_result = IdentifyRun(m_identified, m_workbench.ShownElements(), m_workbench.BenchProfile());
    }
    m_construction = IdentificationOverlays(m_result->identification, m_result->record);
    // A new model: the prediction of the last one goes.
    m_loop = nullptr;
    m_prediction.reset();
    emit changed();
    return {};
}

std::string LabSession::Apply(std::size_t index)
{
    if (!m_result || index >= m_result->suggestions.size())
        return "Aucun r\xE9glage de l'essai affich\xE9 n'est choisi.";
    const LoopTarget target = ClosedLoopFor(m_identified);
    if (!target.refusal.empty()) return target.refusal;
    // Before the loop is made, so that its prediction is made with it.
    const Mode* previous = m_loop;
    const analysis::ProcessModel previousModel = m_model;
    m_loop = target.settings.mode;
    m_model = m_result->identification.fit->model;
    if (std::string error = m_workbench.ApplyController(target.settings, m_result->suggestions[index].settings);
        !error.empty()) {
        m_loop = previous;
        m_model = previousModel;
        return error;
    }
    Predict();
    return {};
}

void LabSession::Predict()
{
    if (!m_loop || m_workbench.Running()) return;
    const Settings& live = m_workbench.LiveSettings();
    if (live.mode != m_loop) {
        m_loop = nullptr;
        m_prediction.reset();
    } else {
        std::lock_guard lock(m_workbench.Lock());
        m_prediction = PredictionOverlay(PredictRun(m_model, live, m_workbench.LiveElements()));
    }
    emit changed();
}

void LabSession::Forget()
{
    if (!m_result) return;
    m_result.reset();
    m_construction.clear();
    emit forgotten();
    emit changed();
}

std::vector<PlotOverlay> LabSession::Overlays() const
{
    std::vector<PlotOverlay> overlays = m_construction;
    // The prediction is of the live loop's next run, or of the one it has just made; beside the model it came
    // from, from the moment it is applied.
    if (m_prediction && (m_workbench.ShowsLive() || m_result) && m_workbench.LiveSettings().mode == m_loop)
        overlays.push_back(*m_prediction);
    return overlays;
}

}  // namespace banc::window
