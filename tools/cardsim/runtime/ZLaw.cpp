#include "ZLaw.h"

#include <algorithm>

namespace cardsim {

void ZLaw::SetCoefficients(const std::array<double, 7>& coefficients)
{
    std::copy_n(coefficients.begin(), 3, m_b.begin());
    std::copy_n(coefficients.begin() + 3, 4, m_c.begin());
}

void ZLaw::Reset()
{
    m_errors.fill(0);
    m_commands.fill(0);
}

double ZLaw::Step(const LawInput& input, LoopSignals& terms)
{
    std::copy_backward(m_errors.begin(), m_errors.end() - 1, m_errors.end());
    m_errors[0] = input.error;
    double command = 0;
    for (std::size_t i = 0; i < m_c.size(); ++i) command += m_c[i] * m_errors[i];
    for (std::size_t j = 0; j < m_b.size(); ++j) command += m_b[j] * m_commands[j];
    command = Clamp(command, input.commandMin, input.commandMax);
    std::copy_backward(m_commands.begin(), m_commands.end() - 1, m_commands.end());
    m_commands[0] = command;
    terms.proportional = terms.integral = terms.derivative = 0;
    return command;
}

}  // namespace cardsim
