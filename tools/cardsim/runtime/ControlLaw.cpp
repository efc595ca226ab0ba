#include "ControlLaw.h"

#include <algorithm>

namespace cardsim {

double Clamp(double value, double min, double max) { return std::min(std::max(value, min), max); }

double OpenLoopLaw::Step(const LawInput& input, LoopSignals& signals)
{
    signals.proportional = signals.integral = signals.derivative = 0;
    return Clamp(input.openLoopCommand, input.commandMin, input.commandMax);
}

}  // namespace cardsim
