#pragma once

#include <QObject>

#include <mutex>
#include <optional>
#include <string>

#include "engine/link/CardSession.h"
#include "engine/run/FrequencySweep.h"

namespace banc::window {

class Workbench;

// A frequency sweep of the live experiment, run by the card's session in the
// place of a run: its news reach the window's thread as signals, and its
// result waits there for the Bode tab once the run has ended.
class SweepRun : public QObject, public SessionJob {
    Q_OBJECT

public:
    explicit SweepRun(Workbench& workbench, QObject* parent = nullptr);

    // Plans the sweep on the live elements and starts it: "" or why not
    // (Latin-1). `warning` takes what is said while the sweep goes on.
    std::string Start(SweepRequest request, std::string& warning);
    // Started and its result not yet taken.
    bool Active() const { return m_active; }
    // Once the run has ended: what was measured, and what was not.
    SweepResult TakeResult();

    Outcome Run(CardLink& link, std::mutex& elementsLock, ExperimentObserver& observer) override;
    void RequestStop() override;

signals:
    void resting(double seconds);
    void frequencyStarted(int index, int count, double hz);
    void frequencyMeasured(int index, int count, double hz);

private:
    class News;

    Workbench& m_workbench;
    bool m_active = false;
    std::optional<SweepPlan> m_plan;
    double m_speed = 1;
    std::mutex m_mutex;  // the three below, shared with the session's thread
    FrequencySweep* m_sweep = nullptr;
    bool m_stopAsked = false;
    SweepResult m_result;
};

// What became of a sweep, for the status bar: the frequencies measured, and
// those missing after a fault or a stop (Latin-1).
std::string SweepOutcomeText(const SweepResult& result);

}  // namespace banc::window
