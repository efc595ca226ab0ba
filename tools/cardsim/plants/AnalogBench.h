#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "AnalogPlant.h"
#include "runtime/Bench.h"
#include "runtime/Noise.h"

namespace cardsim {

// What tells the two analog benches apart, as data.
struct AnalogBenchTraits {
    struct Wire {
        char letter;  // the loop's letter for it
        int channel;  // output or input index
    };
    char letter;
    SimDuration defaultPeriod;
    int outputZero;  // converter counts of a 0 % command (816 is 4 mA)
    int outputSpan;  // converter counts from 0 % to 100 %
    std::vector<Wire> actuators;
    std::vector<Wire> feedbacks;
    bool temperatureCommand;      // "CIDT"
    bool flowMeter;               // "AMD"
    double measurementRowOffset;  // percent added to the measurement's '=' row
};

// The card side of an analog bench: two 12-bit outputs (their bytes are the
// top 8 bits), three 12-bit inputs over 0-20 mA with 4-20 mA sensors, the
// channel configuration, the independent commands and the readings.
class AnalogBench : public Bench {
public:
    static constexpr int kOutputs = AnalogPlant::kActuators;
    static constexpr int kInputs = AnalogPlant::kSensors;
    static constexpr int kFourMilliamps = 819;  // input counts of 4 mA
    static constexpr int kSensorSpan = 3276;    // input counts from 4 to 20 mA
    static constexpr double kLoopFullScale = 3264;

    AnalogBench(const AnalogBenchTraits& traits, std::unique_ptr<AnalogPlant> plant, Noise noise);

    char Letter() const override { return m_traits.letter; }
    const LoopScale& Scale() const override;
    SimDuration DefaultPeriod() const override { return m_traits.defaultPeriod; }
    void AddCommands(CommandTable& table) override;
    std::optional<double> Measurement(char feedback) const override;
    bool HasActuator(char command) const override { return Actuator(command).has_value(); }
    void Drive(char command, double value) override;
    void Release() override;
    void Run(SimDuration step) override;
    void Sample() override;
    void RestartNoise() override { m_noise.Restart(); }
    RecordRows Record(const LoopSignals& loop) const override;

private:
    std::optional<int> Actuator(char command) const;
    std::string SetIndependent(std::string_view arguments, int channel);
    std::string ReadInputs(std::string_view arguments) const;
    std::string SelectMeasurement(std::string_view arguments);
    double OutputPercent(int channel) const;
    double LoopUnits(int inputCounts) const;

    const AnalogBenchTraits& m_traits;
    std::unique_ptr<AnalogPlant> m_plant;
    Noise m_noise;
    std::array<int, kOutputs> m_output{};
    std::array<int, kOutputs> m_independent{};
    std::array<bool, kOutputs> m_driven{};
    std::array<int, kInputs> m_input{};
    std::optional<int> m_measurementInput;  // "TB": the loop's feedback from this input
};

}  // namespace cardsim
