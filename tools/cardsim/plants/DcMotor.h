#pragma once

namespace cardsim {

// A small 24 V bench DC motor, the same electrically on every bench:
//   J dw/dt = Kt i - B w - Tf sgn(w) - load
// Voltage drive ('T'): i = (u - Ke w) / R, u the commanded voltage.
// Current drive ('C'): i the commanded current, as far as the 24 V supply
// can push it against the back-EMF.
struct MotorConstants {
    static constexpr double kTorque = 0.0764;   // Kt = Ke, N m / A and V s / rad
    static constexpr double kResistance = 4.0;  // R, ohm
    static constexpr double kSupply = 24.0;     // V
};

// What each bench's shaft carries besides its load: the inertia of the rotor
// and of what it drives, its viscous and its dry friction.
struct Mechanics {
    double inertia;      // J, kg m2
    double viscous;      // B, N m s / rad
    double dryFriction;  // Tf, N m
};

// What the shaft drives: a dry friction added to the motor's own (negative
// to compensate it), and a torque (positive against positive rotation).
struct ShaftLoad {
    double dryFriction = 0;  // N m
    double torque = 0;       // N m
};

class DcMotor {
public:
    enum class Drive { Current, Voltage };

    // `fullCurrent`: the current of a full current command, A.
    DcMotor(double fullCurrent, const Mechanics& mechanics) : m_fullCurrent(fullCurrent), m_mechanics(mechanics) {}

    void SetDrive(Drive drive) { m_drive = drive; }

    // Integrates over `seconds` with the command held (-1 to 1 of full
    // voltage or current) and the load on the shaft. A passive load
    // (`passive`) may slow the shaft to rest but never turn it the other way.
    void Step(double seconds, double command, const ShaftLoad& load, bool passive);
    // An end stop holds the shaft at `angle`.
    void HoldAt(double angle)
    {
        m_angle = angle;
        m_speed = 0;
    }

    double Speed() const { return m_speed; }  // rad/s
    double Angle() const { return m_angle; }  // rad
    double Current() const { return m_current; }
    double Voltage() const { return m_voltage; }

private:
    double DriveCurrent(double command);

    double m_fullCurrent;
    Mechanics m_mechanics;
    Drive m_drive = Drive::Current;
    double m_speed = 0;
    double m_angle = 0;
    double m_current = 0;
    double m_voltage = 0;
};

}  // namespace cardsim
