#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/analysis/FrequencyResponse.h"
#include "engine/analysis/ProcessModel.h"
#include "engine/link/CardLink.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"

namespace tarvic {
class Profile;
}

namespace banc {

// What the user asks of a sweep; absent values take their defaults.
struct SweepRequest {
    std::optional<double> lowHz, highHz;  // both, or neither: then from the model
    int points = 12;
    std::optional<double> amplitude;  // % of the full command (default 10)
    std::optional<double> rest;       // % (default the generator's rest value)
    double stabilisation = 180;       // s the rest is held at most before the first sine
    double speed = 1;                 // times faster than the clock the card runs
};

// One frequency as the card plays it: the generator's sine table (its points
// and their period, truncated to whole ms as the card gets them) and the
// recording's period.
struct SweepFrequency {
    double askedHz = 0;
    double playedHz = 0;  // 1000 / (table points x point period)
    int tablePoints = 0;
    int pointPeriodMs = 0;
    int recordPeriodMs = 0;   // a whole number of card samples
    int pointsPerPeriod = 0;  // recorded, about
};

// The sweep's levels the user gave, which are the generator's parameters
// ("amplitude", "repos"), put into `request`; those not given stay absent.
void TakeGivenLevels(const Settings& settings, SweepRequest& request);

struct SweepPlan {
    std::string refusal;                          // Latin-1: why there is no sweep ("" when there is one)
    std::string warning;                          // Latin-1: said, the sweep goes on (a command that saturates)
    bool saturates = false;                       // the sine leaves the command's range: every point is flagged
    double rest = 0;                              // %
    double amplitude = 0;                         // %
    std::vector<SweepFrequency> frequencies;      // in increasing order
    std::optional<analysis::ProcessModel> model;  // the kept model the bounds came from, or null
    double stabilisation = 180;                   // s, as asked
};

// The frequencies, the tables and the recording periods of a sweep on the
// open loop of `settings`: bounds in the wrong order, a frequency the card
// cannot play (its table's point period beyond 16 bits of ms, fewer than
// kFewestTablePoints at the card's period) and a run that is not in open loop
// are refused with the reason, as is a card too fast for the link to carry
// kFewestRecordedPerPeriod points of a period.
inline constexpr int kFewestTablePoints = 10;
SweepPlan PlanSweep(const SweepRequest& request, const Settings& settings, const Elements& elements,
                    const std::optional<analysis::ProcessModel>& model);
// One frequency on the configured generator (its card period), on a card
// running `speed` times faster than the clock: the recording period keeps the
// blocks within what the link fetches. `refusal` says why the card cannot play
// or record it, "" when it can.
inline constexpr int kFetchedBlocksPerSecond = 1600;
inline constexpr int kFewestRecordedPerPeriod = 10;
SweepFrequency PlanFrequency(const CGeneFonction& generator, double hz, std::string& refusal, double speed = 1);

// What a sweep tells while it runs, besides the experiment's live values;
// called on the thread that runs it.
class SweepObserver : public ExperimentObserver {
public:
    // Frequency `index` of `count` starts to play.
    virtual void FrequencyStarted(int index, int count, double hz);
    virtual void FrequencyMeasured(int index, int count, const analysis::BodePoint& point);
};

struct SweepResult {
    Outcome outcome;                          // of the run on the card: a fault or Ctrl-C keeps the points measured
    std::vector<analysis::BodePoint> points;  // measured, in increasing frequency
    std::vector<double> missingHz;            // planned and not measured
    std::string measureUnit;                  // Latin-1, of the gain's numerator
    std::optional<analysis::ProcessModel> model;
    double cardSeconds = 0;  // the card's time the sweep took, its rest included
};

// The sweep on the card: the loop held at the rest command until the
// measurement is steady (as for an identification), then each frequency in
// turn, its table downloaded and the recording started with it; the
// transient waited out (until two successive periods agree, or
// kLongestTransient periods), then whole periods recorded (more while the
// noise leaves the gain uncertain, as far as the recording holds) and the
// fundamental of the command and of the measurement fitted.
class FrequencySweep {
public:
    FrequencySweep(Elements& elements, const Settings& settings, CardLink& link, SweepPlan plan);
    ~FrequencySweep();

    void SetObserver(SweepObserver* observer);
    // As Experiment::SetLock.
    void SetLock(std::mutex* lock);
    // From any thread: ends the sweep, keeping what was measured.
    void RequestStop();
    // How many times faster than the clock the card runs: the polling keeps
    // pace with each frequency's blocks.
    void SetSpeed(double speed);
    // A fixed pause between two turns of polling instead (a card whose time
    // moves with the polling).
    void SetPollInterval(std::chrono::milliseconds interval);

    SweepResult Run();

private:
    class Plan;
    Experiment m_experiment;
    std::unique_ptr<Plan> m_plan;
};

// The closed loop a controller would make: the bench's PID mode on the
// measurement swept, as `profile` sets it (read, never written), over the
// measured process.
struct SweepLoop {
    std::string refusal;  // Latin-1: why there is none ("" when there is one)
    std::vector<analysis::BodePoint> openLoop;
    analysis::LoopMargins margins;
};
SweepLoop LoopOfSweep(const SweepResult& result, const Settings& settings,
                      const std::shared_ptr<tarvic::Profile>& profile);

}  // namespace banc
