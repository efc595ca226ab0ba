#include "MotorBench.h"

#include <algorithm>
#include <cmath>

#include "runtime/CommandTable.h"
#include "runtime/HexFields.h"
#include "tarvic/platform/Text.h"

namespace cardsim {
namespace {

constexpr SimDuration kLongestStep = std::chrono::microseconds(250);

// A 12-bit converter field.
std::int16_t TwelveBits(double value)
{
    return static_cast<std::int16_t>(std::clamp(std::round(value), -2048.0, 2047.0));
}
std::int16_t Word(double value) { return static_cast<std::int16_t>(std::clamp(std::round(value), -32768.0, 32767.0)); }

// A 32-bit value in two rows: the high word first.
void Split(std::int64_t value, RecordRows& rows, std::size_t high)
{
    const auto bits =
        static_cast<std::uint32_t>(static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX)));
    rows[high] = static_cast<std::int16_t>(bits >> 16);
    rows[high + 1] = static_cast<std::int16_t>(bits & 0xFFFF);
}

}  // namespace

MotorBench::MotorBench(const MotorBenchTraits& traits, Noise noise)
    // Card units: 1024 for the full command, the PID's normaliser counted on
    // it, thresholds and read-backs unscaled.
    : m_traits(traits),
      m_scale{kFullCommand, kFullCommand, 1.0, -kFullCommand, kFullCommand, true, traits.longCorrectorValues},
      m_noise(noise), m_motor(traits.fullCurrent, traits.mechanics), m_encoder(traits.encoderLines)
{
}

void MotorBench::AddCommands(CommandTable& table)
{
    table.Add("DTCM", [this](std::string_view a) {
        if (a != "C" && a != "T") return std::string(kError);
        m_motor.SetDrive(a == "C" ? DcMotor::Drive::Current : DcMotor::Drive::Voltage);
        return std::string(kOk);
    });
    table.Add("RRZP", Order([this] { ZeroPosition(); }));
    table.Add("TEV", [this](std::string_view a) {
        HexFields fields(a);
        std::uint32_t ticks = 0;
        if (!fields.Unsigned(4, ticks) || !fields.Done() || ticks == 0) return std::string(kError);
        m_encoder.SetWindow(ticks * kTick);
        return std::string(kOk);
    });
    table.Add("ASP", [this](std::string_view a) { return a.empty() ? ReadMotor() : std::string(kError); });
    table.Add("AVPI", [this](std::string_view a) {
        return a.empty() ? "!AVPI" + Hex32(static_cast<double>(m_position)) : std::string(kError);
    });
    table.Add("AVPS", [this](std::string_view a) {
        return a.empty() ? tarvic::Format("!AVPS%4.4X", static_cast<unsigned>(m_position & 0xFFFF))
                         : std::string(kError);
    });
    AddOwnCommands(table);
}

void MotorBench::ZeroPosition()
{
    m_encoder.Zero();
    m_position = 0;
}

std::string MotorBench::ReadMotor() const
{
    std::string reply = "!ASP" + Hex16(m_command) + Hex16(TwelveBits(m_current * m_traits.currentCounts)) +
                        Hex16(TwelveBits(m_voltage * kVoltCounts));
    if (m_traits.fourth == MotorBenchTraits::FourthField::LoadCurrent)
        reply += Hex16(TwelveBits(m_load * m_traits.currentCounts));
    return reply + Hex32(static_cast<double>(m_position)) + Hex16(static_cast<double>(m_speed)) +
           Hex16(static_cast<double>(m_acceleration));
}

std::optional<double> MotorBench::Measurement(char feedback) const
{
    switch (feedback) {
    case 'I': return 0.0;
    case 'V': return static_cast<double>(m_speed);
    case 'P': return static_cast<double>(m_position);
    case '2': return m_current;
    default: return std::nullopt;
    }
}

void MotorBench::Drive(char, double value)
{
    m_driven = true;
    m_loopCommand = value;
}

void MotorBench::Release()
{
    m_driven = false;
    m_loopCommand = 0;
}

void MotorBench::Run(SimDuration step)
{
    m_command = NextCommand();
    const auto pieces = std::max<SimDuration::rep>(1, (step + kLongestStep - SimDuration{1}) / kLongestStep);
    const double seconds = std::chrono::duration<double>(step).count() / static_cast<double>(pieces);
    for (SimDuration::rep i = 0; i < pieces; ++i) {
        m_motor.Step(seconds, m_command / kFullCommand, Load(m_motor.Speed()), m_command == 0);
        AfterStep(m_motor);
        m_time += seconds;
        m_encoder.Observe(m_time, m_motor.Angle());
    }
}

double MotorBench::NextCommand() const { return Limited(OwnCommand().value_or(m_driven ? m_loopCommand : 0.0)); }

void MotorBench::Sample()
{
    m_position = m_encoder.Position();
    m_speed = m_encoder.Speed();
    m_acceleration = m_encoder.Acceleration();
    // Converter readings of 1 A and 24 V spans.
    m_current = Noisy(m_motor.Current() * 1000, 1000);
    m_voltage = Noisy(m_motor.Voltage(), 24);
    m_load = Noisy(LoadCurrent(), 1000);
    AfterSample();
}

RecordRows MotorBench::Record(const LoopSignals& loop) const
{
    RecordRows rows{};
    rows[0] = Word(NextCommand());  // what the motor gets from this sample on
    rows[1] = TwelveBits(m_voltage * kVoltCounts);
    rows[2] = TwelveBits(m_current * 2.048);
    Split(m_encoder.Edges(), rows, 3);
    rows[5] = Word(static_cast<double>(m_speed));
    rows[6] = Word(static_cast<double>(m_acceleration));
    rows[7] = Word((m_traits.fourth == MotorBenchTraits::FourthField::LoadCurrent ? m_load : m_current) * 2.048);
    Split(static_cast<std::int64_t>(std::llround(loop.setpoint)), rows, 8);
    Split(static_cast<std::int64_t>(std::llround(loop.measurement)), rows, 10);
    rows[12] = Word(loop.error);
    rows[13] = Word(loop.proportional);
    rows[14] = Word(loop.integral);
    rows[15] = static_cast<std::int16_t>(loop.sample & 0xFFFF);
    return rows;
}

}  // namespace cardsim
