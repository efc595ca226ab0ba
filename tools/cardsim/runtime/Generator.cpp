#include "Generator.h"

#include "CommandTable.h"
#include "HexFields.h"

namespace cardsim {
namespace {

using std::chrono::milliseconds;

// The simulated bench's setpoint potentiometer, at mid-travel.
constexpr double kPotentiometer = 0.5;

}  // namespace

void Generator::AddCommands(CommandTable& table)
{
    const auto choose = [this](Signal signal) {
        return [this, signal](std::string_view arguments) {
            return arguments.empty() ? Choose(signal) : std::string(kError);
        };
    };
    table.Add("DSS", choose(Signal::Step));
    table.Add("DST", choose(Signal::Ramp));
    table.Add("DSR", choose(Signal::Sine));
    table.Add("DSA", choose(Signal::Potentiometer));
    table.Add("DSE", choose(Signal::Immediate));
    table.Add("DSN", choose(Signal::Immediate));

    const int closedWidth = m_scale.cardUnits ? 8 : 4;
    table.Add("CBF",
              [this, closedWidth](std::string_view a) { return SetLevel(a, closedWidth, &Levels::step, m_closed); });
    table.Add("CRBF",
              [this, closedWidth](std::string_view a) { return SetLevel(a, closedWidth, &Levels::rest, m_closed); });
    table.Add("CBO", [this](std::string_view a) { return SetLevel(a, 4, &Levels::step, m_open); });
    table.Add("CRBO", [this](std::string_view a) { return SetLevel(a, 4, &Levels::rest, m_open); });
    table.Add("RED", [this](std::string_view a) {
        HexFields fields(a);
        std::uint32_t ms = 0;
        if (!fields.Unsigned(4, ms) || !fields.Done()) return std::string(kError);
        m_delay = milliseconds(ms);
        return std::string(kOk);
    });
    table.Add("RET", [this](std::string_view a) { return SetPeriod(a, m_rampPeriod); });
    table.Add("RES", [this](std::string_view a) { return SetPeriod(a, m_sinePeriod); });
    table.Add("DTTT", [this](std::string_view a) { return SetLength(a); });
    table.Add("DTTS", [this](std::string_view a) { return SetLength(a); });
    table.Add("CRT", [this](std::string_view a) { return LoadBlock(a); });
    table.Add("CRS", [this](std::string_view a) { return LoadBlock(a); });
}

void Generator::SetRunning(bool running)
{
    m_running = running;
    m_start = m_clock;
}

std::string Generator::Choose(Signal signal)
{
    m_signal = signal;
    // The signal is chosen at the end of a download: while the loop runs, it starts now.
    if (m_running) m_start = m_clock;
    return kOk;
}

std::string Generator::SetLevel(std::string_view arguments, int width, double Levels::* level, Levels& levels)
{
    HexFields fields(arguments);
    std::int32_t value = 0;
    if (!fields.Signed(width, value) || !fields.Done()) return kError;
    levels.*level = value;
    return kOk;
}

std::string Generator::SetPeriod(std::string_view arguments, SimDuration& period)
{
    HexFields fields(arguments);
    std::uint32_t ms = 0;
    if (!fields.Unsigned(4, ms) || !fields.Done() || ms == 0) return kError;
    period = milliseconds(ms);
    return kOk;
}

std::string Generator::SetLength(std::string_view arguments)
{
    // The PC writes -1 points (an empty table) in eight digits.
    if (arguments == "FFFFFFFF") {
        m_table.clear();
        return kOk;
    }
    HexFields fields(arguments);
    std::uint32_t last = 0;
    if (!fields.Unsigned(4, last) || !fields.Done()) return kError;
    if (last == 0xFFFF) {
        m_table.clear();
        return kOk;
    }
    if (last + 1 > kTableCapacity) return kError;
    m_table.assign(last + 1, 0);
    return kOk;
}

std::string Generator::LoadBlock(std::string_view arguments)
{
    HexFields fields(arguments);
    std::uint32_t block = 0;
    if (!fields.Unsigned(2, block)) return kError;
    std::int32_t points[kBlockPoints];
    for (auto& point : points)
        if (!fields.Signed(4, point)) return kError;
    // The PC pads the table to whole blocks, and sends one block of padding
    // after a table of an exact number of blocks.
    const std::size_t first = block * kBlockPoints;
    if (!fields.Done() || first > m_table.size()) return kError;
    for (std::size_t i = 0; i < kBlockPoints && first + i < m_table.size(); ++i)
        m_table[first + i] = static_cast<std::int16_t>(points[i]);
    return kOk;
}

double Generator::Value(Block block) const
{
    const Levels& levels = block == Block::Closed ? m_closed : m_open;
    const SimDuration elapsed = m_clock - m_start;
    // The external setpoint of the simulated bench is the step value, without delay.
    if (m_signal != Signal::Immediate && elapsed < m_delay) return levels.rest;
    switch (m_signal) {
    case Signal::Step:
    case Signal::Immediate: return levels.step;
    case Signal::Potentiometer: return kPotentiometer * m_scale.fullScale;
    case Signal::Ramp:
    case Signal::Sine: break;
    }
    return m_table.empty() ? levels.rest : TableValue(block, levels, elapsed - m_delay);
}

double Generator::TableValue(Block block, const Levels& levels, SimDuration sinceDelay) const
{
    if (m_signal == Signal::Sine) return m_table[static_cast<std::size_t>(sinceDelay / m_sinePeriod) % m_table.size()];
    const auto played = std::min<std::size_t>(static_cast<std::size_t>(sinceDelay / m_rampPeriod), m_table.size() - 1);
    // A card-unit bench's closed loop plays its ramps as increments from the rest value.
    if (block == Block::Closed && m_scale.cardUnits) {
        double position = levels.rest;
        for (std::size_t i = 0; i <= played; ++i) position += m_table[i];
        return position;
    }
    return m_table[played];
}

}  // namespace cardsim
