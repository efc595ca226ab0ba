#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/run/Experiment.h"

namespace banc {

// What a session tells, on its own thread: the experiment's news, and the end of each run or watch.
class SessionListener : public ExperimentObserver {
public:
    virtual void RunEnded(const Outcome& outcome);
    // The watch gave up: the port is gone.
    virtual void LinkLost(const Outcome& outcome);
};

// A run that drives the card itself (a frequency sweep: many experiments in
// turn) on the session's thread, in the place of a run of the attached elements.
class SessionJob {
public:
    virtual ~SessionJob();
    // On the session's thread, until it ends: the link, the lock of the
    // elements, and the listener to give the experiments' news to.
    virtual Outcome Run(CardLink& link, std::mutex& elementsLock, ExperimentObserver& observer) = 0;
    // From any thread: ends it, keeping what it measured.
    virtual void RequestStop() = 0;
};

// The card's link on a thread of its own, for a program that must not wait
// on the card. While no run is asked for, it watches the card (the live
// values, the orders given meanwhile); a run takes the watch's place until
// it ends, then the watch goes on. The elements and settings stay the
// caller's: it touches them only holding `elementsLock`, and replaces them
// only after Detach.
class CardSession {
public:
    CardSession(CardLink& link, std::mutex& elementsLock, SessionListener& listener,
                std::chrono::milliseconds watchInterval);
    ~CardSession();
    CardSession(const CardSession&) = delete;
    CardSession& operator=(const CardSession&) = delete;

    // Watches (and runs) these from now on.
    void Attach(Elements& elements, const Settings& settings);
    // Ends what is under way (a run stops the card's loop first) and lets the
    // elements go; returns once the session no longer touches them.
    void Detach();
    // A run of the attached elements; false when one is under way or nothing is attached.
    // With a plan (an identification, a relay test), kept by the caller until RunEnded.
    bool StartRun(std::chrono::milliseconds pollInterval, RunPlan* plan = nullptr);
    // The job in the place of a run, on the same terms; kept by the caller until RunEnded.
    bool StartJob(SessionJob& job);
    void StopRun();
    // A run is asked for or under way.
    bool Running() const;
    // Orders for the card, sent at the next turn of the watch or run.
    void Send(std::vector<std::string> orders);
    // Ends the thread, after a run under way stopped the card's loop.
    void Close();

private:
    void Loop();
    // With m_mutex held: asks the experiment or the job under way to end, once.
    void StopCurrent();
    // With `lock` held on entry and exit: runs the job wanted.
    void RunJob(std::unique_lock<std::mutex>& lock);

    CardLink& m_link;
    SessionListener& m_listener;
    std::chrono::milliseconds m_watchInterval;
    std::chrono::milliseconds m_runInterval{100};
    std::mutex& m_elementsLock;

    mutable std::mutex m_mutex;  // everything below
    std::condition_variable m_changed;
    Elements* m_elements = nullptr;
    const Settings* m_settings = nullptr;
    Experiment* m_current = nullptr;
    bool m_currentRuns = false;
    bool m_stopAsked = false;  // of m_current
    bool m_runWanted = false;
    RunPlan* m_plan = nullptr;           // of the run wanted
    SessionJob* m_job = nullptr;         // wanted in the run's place
    SessionJob* m_currentJob = nullptr;  // under way
    bool m_lost = false;                 // the port is gone: nothing more to do
    bool m_closing = false;
    std::vector<std::string> m_pending;  // orders given while no experiment was there to take them
    std::thread m_thread;
};

}  // namespace banc
