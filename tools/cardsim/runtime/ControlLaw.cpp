#include "ControlLaw.h"

#include <algorithm>

namespace cardsim {

double Clamp(double value, double min, double max) { return std::min(std::max(value, min), max); }

double OpenLoopLaw::Step(const LawInput& input, LoopSignals& terms)
{
    terms.proportional = terms.integral = terms.derivative = 0;
    return Clamp(input.openLoopCommand, input.commandMin, input.commandMax);
}

}  // namespace cardsim
