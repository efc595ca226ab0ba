#include "PidLaw.h"

namespace cardsim {

void PidLaw::SetGains(std::uint32_t proportional, std::uint32_t output, std::uint32_t normaliser,
                      double normaliserStart)
{
    m_proportionalGain = proportional / 1024.0;
    // A normaliser past 31 bits is what the PC sends when 1 / K2 overflowed it.
    const bool normaliserValid = normaliser > 0 && normaliser < 0x80000000u;
    if (output == 0)
        m_outputGain = 0;
    else if (normaliserValid)
        m_outputGain = normaliserStart * 1024 * 20 / normaliser;
    else
        m_outputGain = output / 256.0;
}

void PidLaw::Reset()
{
    m_integralSum = 0;
    m_derivative = 0;
    m_started = false;
}

double PidLaw::Step(const LawInput& input, LoopSignals& terms)
{
    const double derivativeInput = Has(kDerivativeOnMeasurement) ? -input.measurement : input.error;
    if (!m_started) m_previousInput = derivativeInput;  // no kick on the first sample
    m_started = true;
    m_derivative = m_pole * m_derivative + m_derivativeGain * (derivativeInput - m_previousInput);
    m_previousInput = derivativeInput;

    const double proportional = Has(kProportional) ? m_proportionalGain * input.error : 0;
    const double derivative = Has(kDerivative) ? m_derivative : 0;
    if (Has(kIntegral)) {
        // Integrate only while that does not push the command further into its limit.
        const double increment = m_integralGain * input.error;
        const double wanted = m_outputGain * (proportional + m_integralSum + increment + derivative);
        const double push = m_outputGain * increment;
        const bool windsUp = (wanted > input.commandMax && push > 0) || (wanted < input.commandMin && push < 0);
        if (!windsUp) m_integralSum += increment;
    }
    const double integral = Has(kIntegral) ? m_integralSum : 0;

    terms.proportional = m_outputGain * proportional;
    terms.integral = m_outputGain * integral;
    terms.derivative = m_outputGain * derivative;
    return Clamp(terms.proportional + terms.integral + terms.derivative, input.commandMin, input.commandMax);
}

}  // namespace cardsim
