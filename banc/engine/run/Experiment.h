#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "engine/link/CardLink.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc {

class RunPlan;

// The live values of a turn: the setpoint and measurement in the measured quantity's unit, the command in percent.
struct LiveValues {
    bool hasSetpoint = false;  // the open-loop block reads back no setpoint
    float setpoint = 0;
    float measure = 0;
    float command = 0;
    std::vector<float> measures;  // every measured quantity of the bench, in its order, in its unit
};

// What an experiment tells while it runs; called on the thread that runs it.
class ExperimentObserver {
public:
    virtual ~ExperimentObserver();
    virtual void Started(int configurationLines);
    virtual void Live(const LiveValues& values);
    // `acquired` blocks of `total` are in; the last one is block acquired - 1.
    virtual void BlockAcquired(int acquired, int total);
    // While watching, the card stopped answering: said once, until it answers again.
    virtual void Silent(const std::string& message);
    // An order given from elsewhere was refused; the experiment goes on (Latin-1).
    virtual void OrderRefused(const std::string& message);
    // A planned run holds the loop at rest: the measurement has been watched for `seconds` (the card's time).
    virtual void Resting(double seconds);
};

struct Outcome {
    enum class Status {
        Finished,     // every block acquired, or what a planned run was for
        Interrupted,  // stopped on request
        Silent,       // the card stopped answering
        Lost,         // the port went away
        Refused,      // the card refused a line or sent a block it could not mend
    };
    Status status = Status::Finished;
    std::string message;  // Latin-1; what went wrong, empty when finished
    // The card took none of the bench's lines: silent from the first one, or
    // another card (a station's, another bench's) that refused it.
    bool unusable = false;
};

// One experiment on the card: downloads the configuration, starts the loop
// and the recording, polls the live values and the blocks, hands each reply
// to the element that asked for it, and stops the card's loop at the end of
// the recording, on request or on a fault. The blocks acquired stay in the
// recording whatever happens.
class Experiment {
public:
    Experiment(Elements& elements, const Settings& settings, CardLink& link);

    void SetObserver(ExperimentObserver* observer) { m_observer = observer; }
    // The pause between two turns of polling.
    void SetPollInterval(std::chrono::milliseconds interval) { m_interval = interval; }
    // A pause that fetches every block soon after the card made it, at most ten turns a second;
    // `secondsPerBlock` is the wall-clock time of one block.
    static std::chrono::milliseconds PollIntervalFor(double secondsPerBlock);
    // A run that holds the loop at rest first and may end before its recording
    // does (an identification, a relay test); none by default. Kept by the caller.
    void SetPlan(RunPlan* plan) { m_plan = plan; }

    Outcome Run();
    // Only the live values, every measured quantity of the bench, and the
    // orders given meanwhile, without configuring nor recording, until a stop
    // request or the loss of the port. A silent card is watched until it answers again.
    Outcome Watch();
    // From any thread: ends the run at once, giving up the exchange under way,
    // and then stops the card's loop; a second request also gives that order up.
    void RequestStop();
    // From any thread: orders for the card, sent between two turns.
    void Send(std::vector<std::string> orders);
    // The orders given that were not sent before the end.
    std::vector<std::string> Unsent();
    // Held on every touch of the elements and settings, and never during an
    // exchange, so that another thread may use them meanwhile.
    void SetLock(std::mutex* lock) { m_elementsLock = lock; }

    int BlocksAcquired() const;

private:
    enum class Kind { Order, Request };
    bool Exchange(Kind kind, const std::string& text, std::string& reply);
    // One line to the card, noting whether it ever answered.
    CardLink::Reply Ask(char prefix, const std::string& text, const LinkTiming& tries);
    // The first line of the configuration: a card that refuses it is asked who it is.
    bool FirstLine(const std::string& line);
    // The card's "?VER" identification, "" when it gives none.
    std::string Identification();
    std::string SilentMessage(const std::string& text) const;
    // The reply taken, or the fault recorded; false on a fault.
    bool Accept(Kind kind, const std::string& text, const CardLink::Reply& answer, std::string& reply);
    std::unique_lock<std::mutex> Hold() const;
    void Configure();
    bool SendOrders();
    // Asks each of the bench's requests, then the controller's read-back.
    bool PollLive(const std::vector<int>& benchRequests);
    bool PollRecording(CEnregistrement& recording);
    bool FetchBlock(CEnregistrement& recording, const std::string& request);
    // The plan's rest, watched in a recording apart, then its run proper started.
    bool HoldRest(const std::vector<int>& benchRequests);
    // After each block of a planned run's recording, so that the run ends on
    // the same block however many a turn brings: true when this turn's
    // fetching ends there, the run complete or moved on to its next part.
    bool JudgeBlock();
    // The plan's lines to its next part; false on a fault or a stop.
    bool SendNextLines();
    void StopLoop();
    void Fail(Outcome::Status status, std::string message);
    bool Stopping() const { return m_stops > 0; }
    void Pause();

    Elements& m_elements;
    const Settings& m_settings;
    CardLink& m_link;
    ExperimentObserver* m_observer = nullptr;
    RunPlan* m_plan = nullptr;
    ExperimentObserver m_silentObserver;
    std::chrono::milliseconds m_interval{100};
    std::atomic<int> m_stops{0};
    std::mutex m_mutex;           // the stop requests, the orders and m_stoppingLoop
    bool m_stoppingLoop = false;  // the order that stops the card's loop is under way: only a second stop gives it up
    std::condition_variable m_wake;
    std::deque<std::string> m_orders;
    std::mutex* m_elementsLock = nullptr;
    Outcome m_outcome;
    bool m_failed = false;  // m_outcome holds the first fault
    bool m_loopStarted = false;
    bool m_complete = false;  // the plan's run holds what it is for
    bool m_cutShort = false;  // a stop gave up an exchange: the card may have gone silent
    struct RefusedLine {
        std::string line, reply;
    } m_refused;              // the last line the card refused
    bool m_answered = false;  // the card answered a line: silent from then on, it "no longer" answers
    float m_setpointScale;    // from the controller's read-back to the setpoint's and command's units
    float m_commandScale;
};

}  // namespace banc
