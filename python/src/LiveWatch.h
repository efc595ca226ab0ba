#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "BenchSession.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"

namespace banc::python {

// One reading of a bench's live values, the loop left as it is: the
// console's watch of the card, ended at its first turn or at the card's first fault.
class LiveWatch : private ExperimentObserver {
public:
    // Throws UsageError when the console would refuse the options.
    LiveWatch(BenchSession& session, const Arguments& arguments);
    LiveWatch(const LiveWatch&) = delete;
    LiveWatch& operator=(const LiveWatch&) = delete;

    void Run();
    void RequestStop();
    // Each measured quantity by name in its unit, then "consigne" (when the
    // loop has one) and "commande" in percent; empty when the card gave none.
    std::vector<std::pair<std::string, float>> Values() const { return m_values; }
    // Why there are none (Latin-1): the card silent, refusing, gone, or the reading stopped.
    const Outcome& Result() const { return m_outcome; }

private:
    void Live(const LiveValues& values) override;
    void Silent(const std::string& message) override;
    void OrderRefused(const std::string& message) override;
    void StopWith(Outcome::Status status, const std::string& message);

    BenchSession& m_session;
    Settings m_settings;
    Elements m_elements;
    std::vector<std::pair<std::string, float>> m_values;
    Outcome m_fault;  // what ended the watch before any value
    bool m_faulted = false;
    Outcome m_outcome;
    std::mutex m_mutex;
    Experiment* m_experiment = nullptr;
    bool m_stopAsked = false;
};

}  // namespace banc::python
