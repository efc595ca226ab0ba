#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "SimulatedCard.h"

namespace cardsim {

class CommandTable;

// How a bench's loop counts. The loop works in the bench's own units: output
// counts on the analog benches (3264 for 100 %), card units on the others.
struct LoopScale {
    double fullScale;        // loop units of a 100 % setpoint or command
    double normaliserStart;  // the PID's output normaliser for K2 = 1, without the 1024 * 20
    double correctorScale;   // units of the on/off thresholds and the correctors' read-backs per loop unit
    double commandMin;
    double commandMax;
    // Card-unit bench: 32-bit closed-loop setpoints, "AVS" values 0 and 1 as
    // 8 digits, ramp tables played into the closed loop as increments.
    bool cardUnits;
    // The on/off and Z correctors' "AVS" values 0 and 1 as 8 digits as well.
    bool longCorrectorValues = false;
};

// What the loop computed at one sample, for the read-backs and the recording.
struct LoopSignals {
    double setpoint = 0;
    double measurement = 0;
    double error = 0;
    double command = 0;
    double openLoopCommand = 0;
    double proportional = 0;  // the controller's three terms, in command units
    double integral = 0;
    double derivative = 0;
    std::uint32_t sample = 0;  // samples since the loop started
};

// One recorded point: the 16 rows of a block.
using RecordRows = std::array<std::int16_t, 16>;

// The bench behind the card: its plant, inputs and outputs, and the commands
// only it knows. The card's loop reaches it through letters: a feedback letter
// names a measurement, a command letter an actuator.
class Bench {
public:
    virtual ~Bench() = default;

    virtual char Letter() const = 0;
    virtual const LoopScale& Scale() const = 0;
    virtual SimDuration DefaultPeriod() const = 0;
    virtual void AddCommands(CommandTable& table) = 0;

    // The measurement behind a feedback letter, in loop units; for 'I' (no
    // feedback) what the bench still watches, if anything, else 0; nothing
    // for a letter the bench does not have.
    virtual std::optional<double> Measurement(char feedback) const = 0;
    virtual bool HasActuator(char command) const = 0;
    // The loop's command for an actuator, held until the next sample.
    virtual void Drive(char command, double value) = 0;
    // The loop lets go: every actuator returns to its independent command.
    virtual void Release() = 0;

    // Moves the plant on by `step`, the actuators held.
    virtual void Run(SimDuration step) = 0;
    // Takes the measurements of a sample instant.
    virtual void Sample() = 0;
    // The loop starts: its measurement noise draws again from its seed, so
    // that a run repeats however long the card waited before it.
    virtual void RestartNoise() = 0;
    virtual RecordRows Record(const LoopSignals& loop) const = 0;
};

}  // namespace cardsim
