#pragma once

#include <string>
#include <vector>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/RestWatch.h"
#include "engine/run/RunPlan.h"

namespace banc {

// The relay test: the bench's on/off loop around the generator's setpoint,
// whose sustained oscillation gives the ultimate gain and period.
//
// Its thresholds come from the noise: the loop first runs with its command
// isolated (the outputs at their independent commands) while the measurement
// is watched at rest, until steady or `stabilisation` seconds (never less
// than the rest's window). The thresholds are then +-3 noise deviations,
// which the noise alone passes once in 740 samples, in whole percent as the
// on/off element sends them (its fraction dropped), 1 % at least. The loop is
// wired to its command and started again, with the recording and the
// setpoint played again; the run ends once the relay's command has made kRelayPeriods whole
// periods after its first rise (or with the recording), enough for the last
// periods to be steady once the first has brought the measurement to the setpoint.
class RelayRun : public RunPlan {
public:
    static constexpr int kRelayPeriods = 6;

    // Why these settings give no relay test (French, Latin-1), "" when they do.
    static std::string Refusal(const Settings& settings);
    RelayRun(const Settings& settings, Elements& elements, double stabilisation);

    const RestJudgement& Rest() const { return m_rest; }
    // The threshold sent either side of the setpoint, %, once the rest ended.
    float Threshold() const { return m_threshold; }

    std::vector<std::string> RestConfiguration() override;
    bool RestEnough(const std::vector<float>& measure, double period) override;
    RunStart RunLines() override;
    bool Complete() override;

private:
    const Settings& m_settings;
    Elements& m_elements;
    double m_stabilisation;
    RestJudgement m_rest;
    float m_threshold = 0;
    int m_judgedBlocks = 0;
    bool m_ended = false;
};

}  // namespace banc
