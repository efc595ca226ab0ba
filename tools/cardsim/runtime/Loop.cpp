#include "Loop.h"

#include "CommandTable.h"
#include "Generator.h"
#include "HexFields.h"
#include "tarvic/platform/Text.h"

namespace cardsim {
namespace {

// A command whose argument is one field of `width` digits.
template <class Apply>
CommandTable::Handler OneField(int width, Apply apply)
{
    return [width, apply](std::string_view arguments) -> std::string {
        HexFields fields(arguments);
        std::uint32_t value = 0;
        if (!fields.Unsigned(width, value) || !fields.Done()) return kError;
        apply(value);
        return kOk;
    };
}

}  // namespace

Loop::Loop(Bench& bench) : m_bench(bench), m_scale(bench.Scale()), m_period(bench.DefaultPeriod()) {}

void Loop::AddCommands(CommandTable& table)
{
    table.Add("RTRE", [this](std::string_view a) { return SelectKind(a); });
    table.Add("RER", [this](std::string_view a) { return SetPeriod(a); });
    table.Add("RKP", [this](std::string_view a) { return SetGains(a); });
    table.Add("RKI", OneField(4, [this](std::uint32_t v) { m_pid.SetIntegral(v); }));
    table.Add("RKD", OneField(4, [this](std::uint32_t v) { m_pid.SetDerivative(v); }));
    table.Add("RKF", OneField(4, [this](std::uint32_t v) { m_pid.SetFilter(v); }));
    table.Add("RBN", [this](std::string_view a) { return SetThreshold(a, false); });
    table.Add("RBP", [this](std::string_view a) { return SetThreshold(a, true); });
    table.Add("RZ", [this](std::string_view a) { return SetZ(a); });
    table.Add("DCP", [this](std::string_view a) { return Wire(a); });
    table.Add("RRZI", [this](std::string_view a) { return ResetIntegral(a); });
    table.Add("APID", [this](std::string_view a) { return a.empty() ? ReadPid() : std::string(kError); });
    table.Add("AVS", [this](std::string_view a) { return a.empty() ? ReadValues() : std::string(kError); });
    table.Add("ACO", [this](std::string_view a) {
        return a.empty() ? "!ACO" + Hex16(m_signals.openLoopCommand) : std::string(kError);
    });
}

ControlLaw& Loop::Law()
{
    switch (m_kind) {
    case kPid: return m_pid;
    case kOnOff: return m_onOff;
    case kZ: return m_z;
    default: return m_openLoop;
    }
}

std::string Loop::SelectKind(std::string_view arguments)
{
    if (arguments.size() != 3 || arguments[0] < '0' || arguments[0] > '3') return kError;
    HexFields fields(arguments.substr(1));
    std::uint32_t actions = 0;
    if (!fields.Unsigned(2, actions) || !fields.Done()) return kError;
    const int kind = arguments[0] - '0';
    m_actions = static_cast<std::uint8_t>(actions);
    m_pid.SetActions(m_actions);
    if (kind != m_kind) {
        m_kind = kind;
        Law().Reset();
    }
    return kOk;
}

std::string Loop::SetPeriod(std::string_view arguments)
{
    HexFields fields(arguments);
    std::uint32_t ms = 0;
    if (!fields.Unsigned(4, ms) || !fields.Done() || ms == 0) return kError;
    m_period = std::chrono::milliseconds(ms);
    return kOk;
}

std::string Loop::SetGains(std::string_view arguments)
{
    HexFields fields(arguments);
    std::uint32_t proportional = 0, output = 0, normaliser = 0;
    if (!fields.Unsigned(4, proportional) || !fields.Unsigned(4, output) || !fields.Unsigned(8, normaliser) ||
        !fields.Done())
        return kError;
    m_pid.SetGains(proportional, output, normaliser, m_scale.normaliserStart);
    return kOk;
}

std::string Loop::SetThreshold(std::string_view arguments, bool positive)
{
    HexFields fields(arguments);
    std::int32_t threshold = 0;
    if (!fields.Signed(4, threshold) || !fields.Done()) return kError;
    const double loopUnits = threshold / m_scale.correctorScale;
    if (positive)
        m_onOff.SetPositiveThreshold(loopUnits);
    else
        m_onOff.SetNegativeThreshold(loopUnits);
    return kOk;
}

std::string Loop::SetZ(std::string_view arguments)
{
    HexFields fields(arguments);
    std::array<double, 7> coefficients{};
    for (double& coefficient : coefficients) {
        std::int32_t q10 = 0;
        if (!fields.Signed(4, q10)) return kError;
        coefficient = q10 / 1024.0;
    }
    if (!fields.Done()) return kError;
    m_z.SetCoefficients(coefficients);
    return kOk;
}

std::string Loop::Wire(std::string_view arguments)
{
    if (arguments.size() != 4) return kError;
    const char process = arguments[0], block = arguments[1], command = arguments[2], feedback = arguments[3];
    const bool known = process == m_bench.Letter() && (block == 'F' || block == 'O') &&
                       (command == 'I' || m_bench.HasActuator(command)) && m_bench.Measurement(feedback).has_value();
    if (!known) return kError;
    // The actuator the loop drove until now goes back to its independent command.
    if (command != m_command) m_bench.Release();
    m_command = command;
    m_feedback = feedback;
    return kOk;
}

std::string Loop::ResetIntegral(std::string_view arguments)
{
    if (arguments != "0" && arguments != "1") return kError;
    if (arguments == "1") m_pid.ClearIntegral();
    return kOk;
}

void Loop::Start()
{
    m_running = true;
    m_samples = 0;
    m_signals = LoopSignals{};
    Law().Reset();
}

void Loop::Stop()
{
    m_running = false;
    m_signals.command = m_signals.proportional = m_signals.integral = m_signals.derivative = 0;
    m_bench.Release();
}

const LoopSignals& Loop::Sample(const Generator& generator)
{
    m_signals.measurement = m_bench.Measurement(m_feedback).value_or(0);
    if (m_running) {
        const double value = generator.Value(m_kind == kOpenLoop ? Generator::Block::Open : Generator::Block::Closed);
        m_signals.setpoint = value;
        m_signals.openLoopCommand = generator.Value(Generator::Block::Open);
    }
    const bool reverse = (m_actions & kReverseAction) != 0 && m_kind != kOpenLoop;
    // With the measurement link open ('I') the measurement is only watched: the error is the setpoint.
    const double feedback = m_feedback == 'I' ? 0.0 : m_signals.measurement;
    m_signals.error = reverse ? feedback - m_signals.setpoint : m_signals.setpoint - feedback;
    if (!m_running) return m_signals;

    const LawInput input{m_signals.setpoint,        m_signals.measurement, m_signals.error,
                         m_signals.openLoopCommand, m_scale.commandMin,    m_scale.commandMax};
    m_signals.sample = m_samples++;
    m_signals.command = Law().Step(input, m_signals);
    if (m_command != 'I') m_bench.Drive(m_command, m_signals.command);
    return m_signals;
}

std::string Loop::ReadPid() const
{
    return "!APID" + Hex16(m_signals.proportional) + Hex16(m_signals.integral) + Hex16(m_signals.derivative);
}

std::string Loop::ReadValues() const
{
    // The on/off and Z correctors read their values on their own scale.
    const bool corrector = m_kind == kOnOff || m_kind == kZ;
    const double scale = corrector ? m_scale.correctorScale : 1.0;
    const auto field = [&](double value, bool wide) { return wide ? Hex32(value * scale) : Hex16(value * scale); };
    const bool wide = m_scale.cardUnits && (!corrector || m_scale.longCorrectorValues);
    return "!AVS" + field(m_signals.setpoint, wide) + field(m_signals.measurement, wide) +
           field(m_signals.error, false) + field(m_signals.command, false);
}

}  // namespace cardsim
