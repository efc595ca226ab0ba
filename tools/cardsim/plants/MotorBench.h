#pragma once

#include <optional>

#include "DcMotor.h"
#include "Encoder.h"
#include "runtime/Bench.h"
#include "runtime/Noise.h"

namespace cardsim {

// What tells the three motorised benches apart, as data.
struct MotorBenchTraits {
    enum class FourthField { None, LoadCurrent };
    char letter;
    int encoderLines;    // the bench's own encoder
    double fullCurrent;  // A, of a full current command
    Mechanics mechanics;
    double currentCounts;      // "ASP" counts of the motor current per mA
    FourthField fourth;        // a fourth 12-bit "ASP" field before the position
    bool longCorrectorValues;  // the correctors read 8-digit "AVS" values
};

// The card side of a motorised bench: a DC motor commanded in current or
// voltage (1024 card units for the full command), its encoder, the motor
// commands and measurements. A bench adds what its shaft drives and its own
// commands.
class MotorBench : public Bench {
public:
    static constexpr double kFullCommand = 1024;
    static constexpr double kVoltCounts = 85.29;  // "ASP" counts of the motor voltage per volt
    static constexpr double kTick = 0.9765e-3;    // the card's tick, s

    MotorBench(const MotorBenchTraits& traits, Noise noise);

    char Letter() const override { return m_traits.letter; }
    const LoopScale& Scale() const override { return m_scale; }
    SimDuration DefaultPeriod() const override { return std::chrono::milliseconds(10); }
    void AddCommands(CommandTable& table) override;
    std::optional<double> Measurement(char feedback) const override;
    bool HasActuator(char command) const override { return command == 'F'; }
    void Drive(char command, double value) override;
    void Release() override;
    void Run(SimDuration step) override;
    void Sample() override;
    void RestartNoise() override { m_noise.Restart(); }
    RecordRows Record(const LoopSignals& loop) const override;

    const DcMotor& Motor() const { return m_motor; }
    const Encoder& GetEncoder() const { return m_encoder; }

protected:
    virtual void AddOwnCommands(CommandTable&) {}
    // What the shaft drives at a speed (rad/s).
    virtual ShaftLoad Load(double) const { return {}; }
    // A command of the card's own (the axis's moves), which takes over the loop's.
    virtual std::optional<double> OwnCommand() const { return std::nullopt; }
    // The command after the bench's own limits (end switches).
    virtual double Limited(double command) const { return command; }
    // After every step of the plant (end stops).
    virtual void AfterStep(DcMotor&) {}
    // At every sample, once the measurements are taken.
    virtual void AfterSample() {}
    // The load's current, mA, for the fourth "ASP" field and the recording.
    virtual double LoadCurrent() const { return 0; }
    double SpeedReading() const { return static_cast<double>(m_speed); }
    std::int64_t PositionReading() const { return m_position; }
    // The position counter starts again from 0 here ("RRZP", homing).
    void ZeroPosition();

private:
    std::string ReadMotor() const;
    double NextCommand() const;
    // Measurement noise on a converter reading.
    double Noisy(double value, double span) { return value + m_noise.Next() * span / 100; }

    const MotorBenchTraits& m_traits;
    LoopScale m_scale;
    Noise m_noise;
    DcMotor m_motor;
    Encoder m_encoder;
    double m_time = 0;
    double m_loopCommand = 0;
    bool m_driven = false;
    double m_command = 0;
    // Latched at the sample.
    std::int64_t m_position = 0;
    std::int64_t m_speed = 0;
    std::int64_t m_acceleration = 0;
    double m_current = 0;  // mA
    double m_voltage = 0;  // V
    double m_load = 0;     // mA
};

}  // namespace cardsim
