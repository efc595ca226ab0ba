#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/RestWatch.h"
#include "engine/run/RunPlan.h"

namespace banc {

// How long the rest command is held at most before the step, s (--stabilisation):
// three time constants of the slowest simulated lag (the tanks' 60 s).
inline constexpr double kDefaultStabilisation = 180;

// The open-loop step of an identification.
//
// The loop first holds the rest command (the generator plays its rest value
// as its step), watched until the measurement is steady or `stabilisation`
// seconds have gone (never less than the rest's window). The loop is then
// started again with the step's value and the recording armed: the card
// restarts the generator's time and the recording together, holds the rest during the delay, long enough for a block of
// points at rest so that the identification sees the rest level and its
// noise, then steps on a point the recording takes. By default the run ends once the step response has
// settled, with a quarter more of it recorded after (at least a block), and
// at the latest with its recording; the run then counts as finished.
class IdentificationRun : public RunPlan {
public:
    struct Options {
        double stabilisation = kDefaultStabilisation;  // s
        bool untilSettled = true;                      // false: the whole recording
    };

    // Why these settings give no identification run (French, Latin-1), "" when they do.
    static std::string Refusal(const Settings& settings, const Elements& elements);
    // Lengthens the generator's delay to the rest the step needs before it
    // (the elements then say what ran; the profile keeps the user's delay).
    IdentificationRun(const Settings& settings, Elements& elements, Options options);

    // How the rest went, once it ended.
    const RestJudgement& Rest() const { return m_rest; }
    // The run ended because the response settled.
    bool EndedSettled() const { return m_ended; }

    std::vector<std::string> RestConfiguration() override;
    bool RestEnough(const std::vector<float>& measure, double period) override;
    RunStart RunLines() override;
    bool Complete() override;

private:
    const Settings& m_settings;
    Elements& m_elements;
    Options m_options;
    RestJudgement m_rest;
    int m_judgedBlocks = 0;
    // When the response was first seen settled: the points after the step, and the blocks.
    std::optional<int> m_settledPoints;
    int m_settledBlocks = 0;
    bool m_ended = false;
};

}  // namespace banc
