#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "BenchSession.h"
#include "engine/analysis/FrequencyResponse.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/FrequencySweep.h"

namespace banc::python {

// One frequency sweep on a session's card, the console's --bode without its
// terminal: planned when made, run on a thread of the caller's, stopped from
// another, and then read: its points, its JSON, the model's and the loop's curves.
class Sweep : private SweepObserver {
public:
    // The sweep's options after the session's; throws UsageError when the
    // console would refuse them or the card cannot play them. The session must outlive the sweep.
    Sweep(BenchSession& session, const Arguments& arguments);
    Sweep(const Sweep&) = delete;
    Sweep& operator=(const Sweep&) = delete;

    // Blocks until the sweep ends: finished, stopped, or on a fault of the card.
    void Run();
    // From any thread.
    void RequestStop();
    int Measured() const { return m_measured; }
    int Planned() const { return static_cast<int>(m_plan.frequencies.size()); }
    // Said while the sweep goes on (a command that saturates), UTF-8; "" when nothing is.
    std::string Warning() const;

    const Outcome& Result() const { return m_result.outcome; }
    const std::vector<analysis::BodePoint>& Points() const { return m_result.points; }
    // Everything the console's --json would hold (UTF-8), and its printed table.
    std::string Json() const;
    std::string Text() const;
    // The kept model's curve over the span measured, as the diagram draws it; none without a model.
    std::vector<analysis::BodePoint> ModelCurve() const;
    // The open loop of the profile's controller over the process measured; none when there is no loop.
    const std::vector<analysis::BodePoint>& OpenLoop() const { return m_loop.openLoop; }

private:
    void FrequencyMeasured(int index, int count, const analysis::BodePoint& point) override;

    BenchSession& m_session;
    Settings m_settings;
    Elements m_elements;
    SweepPlan m_plan;
    double m_speed = 1;
    SweepResult m_result;
    SweepLoop m_loop;
    std::atomic<int> m_measured{0};
    std::mutex m_mutex;  // the sweep under way and the stop requests
    FrequencySweep* m_sweep = nullptr;
    bool m_stopAsked = false;
};

}  // namespace banc::python
