#include "DcMotor.h"

#include <algorithm>
#include <cmath>

namespace cardsim {
namespace {

using C = MotorConstants;

double Sign(double v) { return (v > 0) - (v < 0); }

}  // namespace

double DcMotor::DriveCurrent(double command)
{
    const double backEmf = C::kTorque * m_speed;
    if (m_drive == Drive::Voltage) {
        m_voltage = std::clamp(command, -1.0, 1.0) * C::kSupply;
        return (m_voltage - backEmf) / C::kResistance;
    }
    // The current loop holds the current while the supply can drive it.
    const double wanted = std::clamp(command, -1.0, 1.0) * m_fullCurrent;
    const double low = (-C::kSupply - backEmf) / C::kResistance, high = (C::kSupply - backEmf) / C::kResistance;
    const double current = std::clamp(wanted, low, high);
    m_voltage = current * C::kResistance + backEmf;
    return current;
}

void DcMotor::Step(double seconds, double command, const ShaftLoad& load, bool passive)
{
    m_current = DriveCurrent(command);
    const double drive = C::kTorque * m_current;
    // A passive load only resists the motion, like friction; an active one acts whatever the motion.
    const double active = passive ? 0.0 : load.torque;
    const double direction = m_speed != 0 ? Sign(m_speed) : Sign(drive - active);
    const double resisting =
        passive ? (m_speed == 0 ? std::abs(load.torque) : std::max(0.0, load.torque * direction)) : 0.0;
    const double friction = std::max(0.0, m_mechanics.dryFriction + load.dryFriction) + resisting;
    // At rest, the friction holds the shaft until the torque on it overcomes it.
    if (m_speed == 0 && std::abs(drive - active) <= friction) return;
    const double next = m_speed + seconds * (drive - active - friction * direction - m_mechanics.viscous * m_speed) /
                                      m_mechanics.inertia;
    // Friction slows the shaft to rest and never through it.
    m_speed = next * direction < 0 ? 0.0 : next;
    m_angle += seconds * m_speed;
}

}  // namespace cardsim
