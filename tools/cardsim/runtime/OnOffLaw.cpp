#include "OnOffLaw.h"

namespace cardsim {

double OnOffLaw::Step(const LawInput& input, LoopSignals& terms)
{
    if (input.error > m_positive)
        m_on = true;
    else if (input.error < m_negative)
        m_on = false;
    terms.proportional = terms.integral = terms.derivative = 0;
    return m_on ? input.commandMax : input.commandMin;
}

}  // namespace cardsim
