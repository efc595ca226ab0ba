#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "BenchSession.h"
#include "cli/LabRun.h"
#include "engine/history/KeepRun.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"

namespace banc::python {

// One experiment on a session's card, the console's run without its
// terminal: configured when made, run on a thread of the caller's, stopped
// from another, and then read: its curves, its figures, its files.
class Trial : private ExperimentObserver {
public:
    // The run's options after the session's; throws UsageError when the
    // console would refuse them. The session must outlive the run.
    Trial(BenchSession& session, const Arguments& arguments);
    Trial(const Trial&) = delete;
    Trial& operator=(const Trial&) = delete;

    // Blocks until the run ends: finished, stopped, or on a fault of the card.
    void Run();
    // From any thread; a second request also gives up the order that stops the card's loop.
    void RequestStop();
    int Acquired() const { return m_acquired; }
    int Planned() const { return m_planned; }

    const Outcome& Result() const { return m_outcome; }
    // Where the run history keeps it: its number (0 when not kept) and, when not, why (Latin-1).
    const history::KeptInHistory& Kept() const { return m_kept; }
    int Blocks() const;
    double PeriodSeconds() const;
    // The CSV's column names after the time, and each one's values, in the CSV's units.
    std::vector<std::string> Columns() const;
    std::vector<float> Values(std::size_t column) const;
    // Everything the console's --json would hold (UTF-8), and its printed summary.
    std::string Json();
    std::string Summary() const;
    // The console's files: "rfc4180" or "fr"; throw UsageError or SystemError.
    void WriteCsv(const std::string& path, const std::string& format) const;
    void WriteArchive(const std::string& path) const;

private:
    void BlockAcquired(int acquired, int total) override;
    void CheckAcquired() const;

    BenchSession& m_session;
    cli::Request m_request;  // before m_lab, which reads it
    Settings m_settings;
    Elements m_elements;
    std::unique_ptr<cli::LabRun> m_lab;
    Outcome m_outcome;
    history::KeptInHistory m_kept;
    std::atomic<int> m_acquired{0};
    std::atomic<int> m_planned{0};
    std::mutex m_mutex;  // the experiment under way and the stop requests
    Experiment* m_experiment = nullptr;
    int m_stops = 0;
};

}  // namespace banc::python
