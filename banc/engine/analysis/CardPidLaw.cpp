#include "engine/analysis/CardPidLaw.h"

#include <algorithm>

namespace banc::analysis {

CardPidLaw::CardPidLaw(const CardPid& pid, double commandMin, double commandMax)
    : m_pid(pid), m_min(commandMin), m_max(commandMax)
{
}

double CardPidLaw::Step(double setpoint, double measurement)
{
    const double error = setpoint - measurement;
    const double input = m_pid.derivativeOnMeasurement ? -measurement : error;
    if (!m_started) m_previousInput = input;
    m_started = true;
    m_derivative = m_pid.pole * m_derivative + m_pid.derivative * (input - m_previousInput);
    m_previousInput = input;

    const double proportional = m_pid.proportionalAction ? m_pid.k1 * error : 0;
    const double derivative = m_pid.derivativeAction ? m_derivative : 0;
    if (m_pid.integralAction) {
        const double increment = m_pid.integral * error;
        const double wanted = m_pid.k2 * (proportional + m_integralSum + increment + derivative);
        const double push = m_pid.k2 * increment;
        const bool windsUp = (wanted > m_max && push > 0) || (wanted < m_min && push < 0);
        if (!windsUp) m_integralSum += increment;
    }
    const double integral = m_pid.integralAction ? m_integralSum : 0;
    return std::max(m_min, std::min(m_pid.k2 * (proportional + integral + derivative), m_max));
}

}  // namespace banc::analysis
