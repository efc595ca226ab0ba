#pragma once

#include "Bench.h"

namespace cardsim {

// What a control law sees at one sample, in loop units.
struct LawInput {
    double setpoint;
    double measurement;
    double error;            // setpoint - measurement, or its opposite in reverse action
    double openLoopCommand;  // the generator's value for the open-loop block
    double commandMin;
    double commandMax;
};

// One of the card's controller kinds. Each keeps its coefficients across kind
// changes, so that they may be sent before or after the kind is chosen.
class ControlLaw {
public:
    virtual ~ControlLaw() = default;
    // Forgets the past samples (integral, filters, histories) at a loop start.
    virtual void Reset() = 0;
    // The command of this sample, within the command range; the law's terms go into `terms`.
    virtual double Step(const LawInput& input, LoopSignals& terms) = 0;
};

// The open-loop block: the generator's value is the command.
class OpenLoopLaw : public ControlLaw {
public:
    void Reset() override {}
    double Step(const LawInput& input, LoopSignals& terms) override;
};

double Clamp(double value, double min, double max);

}  // namespace cardsim
