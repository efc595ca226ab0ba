#include "AnalogBench.h"

#include <algorithm>
#include <cmath>

#include "runtime/CommandTable.h"
#include "runtime/HexFields.h"
#include "tarvic/platform/Text.h"

namespace cardsim {
namespace {

constexpr int kConverterMax = 4095;
constexpr SimDuration kLongestStep = std::chrono::milliseconds(10);

// Loop units on the analog benches: output counts, 3264 for 100 %. The PID's
// normaliser and the correctors count 100 % as the sensors' 3276.
const LoopScale kAnalogScale{AnalogBench::kLoopFullScale,
                             AnalogBench::kSensorSpan,
                             AnalogBench::kSensorSpan / AnalogBench::kLoopFullScale,
                             0,
                             AnalogBench::kLoopFullScale,
                             false};

int ToConverter(double counts) { return static_cast<int>(std::clamp(std::round(counts), 0.0, double{kConverterMax})); }

// One channel digit, 1-based, as "DFS", "DFE" and "TB" write it.
std::optional<int> ChannelDigit(char digit, int channels)
{
    const int channel = digit - '1';
    if (channel < 0 || channel >= channels) return std::nullopt;
    return channel;
}

// A channel's range code: the bench's wiring fixes the ranges, so the code is checked only.
std::string CheckRange(std::string_view arguments, int channels)
{
    std::uint32_t code = 0;
    const bool valid =
        arguments.size() == 2 && ChannelDigit(arguments[0], channels) && tarvic::ReadHexField(arguments, 1, 1, code);
    return valid ? kOk : kError;
}

}  // namespace

AnalogBench::AnalogBench(const AnalogBenchTraits& traits, std::unique_ptr<AnalogPlant> plant, Noise noise)
    : m_traits(traits), m_plant(std::move(plant)), m_noise(noise)
{
    m_independent.fill(m_traits.outputZero);
    m_output = m_independent;
}

const LoopScale& AnalogBench::Scale() const { return kAnalogScale; }

void AnalogBench::AddCommands(CommandTable& table)
{
    table.Add("DFS", [](std::string_view a) { return CheckRange(a, kOutputs); });
    table.Add("DFE", [](std::string_view a) { return CheckRange(a, kInputs); });
    table.Add("CIDD", [this](std::string_view a) { return SetIndependent(a, 0); });
    if (m_traits.temperatureCommand) table.Add("CIDT", [this](std::string_view a) { return SetIndependent(a, 1); });
    table.Add("AEBC", [this](std::string_view a) { return ReadInputs(a); });
    table.Add("ASBC", [this](std::string_view a) {
        if (!a.empty()) return std::string(kError);
        return tarvic::Format("!ASBC%2.2X%2.2X", m_output[0] >> 4, m_output[1] >> 4);
    });
    if (m_traits.flowMeter)
        table.Add("AMD", [this](std::string_view a) {
            // The flowmeter reads the flow sensor's counts above 4 mA.
            if (!a.empty()) return std::string(kError);
            return "!AMD " + Hex16(std::max(m_input[0] - kFourMilliamps, 0));
        });
    table.Add("TB", [this](std::string_view a) { return SelectMeasurement(a); });
}

std::string AnalogBench::SetIndependent(std::string_view arguments, int channel)
{
    HexFields fields(arguments);
    std::uint32_t byte = 0;
    if (!fields.Unsigned(2, byte) || !fields.Done()) return kError;
    m_independent[channel] = static_cast<int>(byte) << 4;
    if (!m_driven[channel]) m_output[channel] = m_independent[channel];
    return kOk;
}

std::string AnalogBench::ReadInputs(std::string_view arguments) const
{
    if (arguments.empty()) return tarvic::Format("!AEBC%4.4X%4.4X%4.4X", m_input[0], m_input[1], m_input[2]);
    // One input in milliamps, as a number: "AEBC1" gives "!AEBC1 4.0".
    const auto channel =
        arguments.size() == 1 ? ChannelDigit(static_cast<char>(arguments[0] + 1), kInputs) : std::nullopt;
    if (!channel) return kError;
    return tarvic::Format("!AEBC%d%4.1f", *channel, m_input[*channel] * 20.0 / kConverterMax);
}

std::string AnalogBench::SelectMeasurement(std::string_view arguments)
{
    std::uint32_t digit = 0;
    if (arguments.size() != 1 || !tarvic::ReadHexField(arguments, 0, 1, digit) || digit < 1 || digit > kInputs)
        return kError;
    m_measurementInput = static_cast<int>(digit) - 1;
    return kOk;
}

std::optional<int> AnalogBench::Actuator(char command) const
{
    for (const auto& wire : m_traits.actuators)
        if (wire.letter == command) return wire.channel;
    return std::nullopt;
}

double AnalogBench::LoopUnits(int inputCounts) const
{
    return (inputCounts - kFourMilliamps) * kLoopFullScale / kSensorSpan;
}

std::optional<double> AnalogBench::Measurement(char feedback) const
{
    // No feedback: the input "TB" chose is still watched, or nothing.
    if (feedback == 'I') return m_measurementInput ? LoopUnits(m_input[*m_measurementInput]) : 0.0;
    for (const auto& wire : m_traits.feedbacks)
        if (wire.letter == feedback) return LoopUnits(m_input[m_measurementInput.value_or(wire.channel)]);
    return std::nullopt;
}

void AnalogBench::Drive(char command, double value)
{
    const auto channel = Actuator(command);
    if (!channel) return;
    m_driven[*channel] = true;
    m_output[*channel] = ToConverter(m_traits.outputZero + value * m_traits.outputSpan / kLoopFullScale);
}

void AnalogBench::Release()
{
    m_driven.fill(false);
    m_output = m_independent;
}

double AnalogBench::OutputPercent(int channel) const
{
    return (m_output[channel] - m_traits.outputZero) * 100.0 / m_traits.outputSpan;
}

void AnalogBench::Run(SimDuration step)
{
    const AnalogPlant::Actuators percent{OutputPercent(0), OutputPercent(1)};
    const auto pieces = std::max<SimDuration::rep>(1, (step + kLongestStep - SimDuration{1}) / kLongestStep);
    const double seconds = std::chrono::duration<double>(step).count() / static_cast<double>(pieces);
    for (SimDuration::rep i = 0; i < pieces; ++i) m_plant->Step(seconds, percent);
}

void AnalogBench::Sample()
{
    const AnalogPlant::Sensors sensors = m_plant->Read();
    for (int i = 0; i < kInputs; ++i) {
        // An input with no sensor reads 0 mA.
        const auto& percent = sensors[static_cast<std::size_t>(i)];
        m_input[i] = percent ? ToConverter(kFourMilliamps + (*percent + m_noise.Next()) * kSensorSpan / 100) : 0;
    }
}

RecordRows AnalogBench::Record(const LoopSignals& loop) const
{
    // Twelve-bit rows (1 and 2) saturate at their range.
    const auto twelveBits = [](double v) {
        return static_cast<std::int16_t>(std::clamp(std::round(v), -2048.0, 2047.0));
    };
    const auto word = [](double v) { return static_cast<std::int16_t>(std::clamp(std::round(v), -32768.0, 32767.0)); };
    const double measurementPercent = loop.measurement * 100 / kLoopFullScale;
    const auto outputLoopUnits = [this](int channel) { return OutputPercent(channel) * kLoopFullScale / 100; };
    return {word(loop.command),
            twelveBits(loop.error),
            twelveBits(loop.derivative),
            word(m_input[0]),
            word(m_input[1]),
            word(m_input[2]),
            word((measurementPercent + m_traits.measurementRowOffset) * kSensorSpan / 100),
            word(loop.measurement),
            word(loop.setpoint),
            word(loop.proportional),
            word(loop.integral),
            word(loop.openLoopCommand),
            word(outputLoopUnits(0)),
            word(outputLoopUnits(1)),
            0,
            static_cast<std::int16_t>(loop.sample & 0xFFFF)};
}

}  // namespace cardsim
