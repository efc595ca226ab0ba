#pragma once

#include <cstdint>
#include <vector>

#include "Bench.h"

namespace cardsim {

class CommandTable;

// The card's setpoint generator. It plays the rest value during the delay,
// then the chosen signal, into the closed loop's setpoint ('F' block values)
// or the open loop's command ('O' block values). Time counts from the loop's
// start, and from the choice of a signal while the loop runs.
class Generator {
public:
    static constexpr int kTableCapacity = 512;
    static constexpr int kBlockPoints = 32;

    enum class Block { Closed, Open };

    // `clock` is the card's time, read when a signal is chosen while the loop runs.
    Generator(const LoopScale& scale, const SimDuration& clock) : m_scale(scale), m_clock(clock) {}

    void AddCommands(CommandTable& table);
    // The loop starts (time 0 of the signal) or stops.
    void SetRunning(bool running);

    // The generator's value now, in loop units.
    double Value(Block block) const;

private:
    enum class Signal { Step, Ramp, Sine, Potentiometer, Immediate };
    struct Levels {
        double step = 0;
        double rest = 0;
    };

    std::string Choose(Signal signal);
    std::string SetLevel(std::string_view arguments, int width, double Levels::* level, Levels& levels);
    std::string SetLength(std::string_view arguments);
    std::string SetPeriod(std::string_view arguments, SimDuration& period);
    std::string LoadBlock(std::string_view arguments);
    double TableValue(Block block, const Levels& levels, SimDuration sinceDelay) const;

    const LoopScale& m_scale;
    const SimDuration& m_clock;
    Signal m_signal = Signal::Step;
    Levels m_closed;
    Levels m_open;
    SimDuration m_delay{0};
    SimDuration m_rampPeriod{std::chrono::milliseconds(100)};
    SimDuration m_sinePeriod{std::chrono::milliseconds(100)};
    std::vector<std::int16_t> m_table;
    SimDuration m_start{0};
    bool m_running = false;
};

}  // namespace cardsim
