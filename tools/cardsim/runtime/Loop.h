#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "Bench.h"
#include "ControlLaw.h"
#include "OnOffLaw.h"
#include "PidLaw.h"
#include "ZLaw.h"

namespace cardsim {

class CommandTable;
class Generator;

// The card's control loop: the controller kind and its coefficients, the
// wiring (where the command goes, where the feedback comes from), the sample
// period, and the read-backs of its values.
class Loop {
public:
    enum Kind { kOpenLoop = 0, kPid = 1, kOnOff = 2, kZ = 3 };
    static constexpr std::uint8_t kReverseAction = 0x80;

    explicit Loop(Bench& bench);

    void AddCommands(CommandTable& table);
    SimDuration Period() const { return m_period; }
    bool Running() const { return m_running; }
    void Start();
    void Stop();
    // One sample: reads the feedback, runs the law (while running) and drives the routed actuator.
    const LoopSignals& Sample(const Generator& generator);
    const LoopSignals& Signals() const { return m_signals; }

private:
    std::string SelectKind(std::string_view arguments);
    std::string SetPeriod(std::string_view arguments);
    std::string SetGains(std::string_view arguments);
    std::string SetThreshold(std::string_view arguments, bool positive);
    std::string SetZ(std::string_view arguments);
    std::string Wire(std::string_view arguments);
    std::string ResetIntegral(std::string_view arguments);
    std::string ReadPid() const;
    std::string ReadValues() const;
    ControlLaw& Law();

    Bench& m_bench;
    const LoopScale& m_scale;
    int m_kind = kOpenLoop;
    std::uint8_t m_actions = 0;
    SimDuration m_period;
    OpenLoopLaw m_openLoop;
    PidLaw m_pid;
    OnOffLaw m_onOff;
    ZLaw m_z;
    char m_command = 'I';
    char m_feedback = 'I';
    bool m_running = false;
    std::uint32_t m_samples = 0;
    LoopSignals m_signals;
};

}  // namespace cardsim
