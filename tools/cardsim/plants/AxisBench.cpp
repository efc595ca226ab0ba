#include "AxisBench.h"

#include <algorithm>
#include <numbers>

#include "runtime/CommandTable.h"
#include "runtime/HexFields.h"
#include "tarvic/platform/Text.h"

namespace cardsim {
namespace {

constexpr double kDefaultGain = 1;     // command counts per line of error
constexpr double kDefaultLimit = 512;  // command counts: half the full command
constexpr double kHomingSpeed = 100;   // counts per speed window, towards the left
constexpr double kHomingGain = 4;      // command counts per count of speed error

}  // namespace

// A 500-line encoder; the current command's full scale is 1 A. A light rotor
// and carriage (a gain of about 1000 lines/s2 a command count, what the factory
// PID's K1 = 1 and Ti = 0.1 s are made for); the screw and the guides give a
// viscous friction strong enough to damp the factory PI's position loop.
const MotorBenchTraits AxisBench::kTraits{
    'X', 500, 1.0, {6e-6, 1.5e-4, 3e-3}, 1.024, MotorBenchTraits::FourthField::None, false};

AxisBench::AxisBench(Noise noise, double start) : MotorBench(kTraits, noise), m_start(start) {}

double AxisBench::Carriage() const { return m_start + Motor().Angle() / (2 * std::numbers::pi) * kPitch; }

unsigned AxisBench::Status() const
{
    unsigned status =
        (LeftPressed() ? kLeftSwitch : 0) | (RightPressed() ? kRightSwitch : 0) | (m_referenced ? kReferenced : 0);
    switch (m_move) {
    case Move::Homing: return status | kHoming;
    case Move::Reference: return status | kReferenceMove;
    case Move::Target: return status | kTargetMove;
    case Move::None: return status;
    }
    return status;
}

void AxisBench::AddOwnCommands(CommandTable& table)
{
    const auto setting = [](std::uint32_t& value) {
        return [&value](std::string_view a) {
            HexFields fields(a);
            std::uint32_t read = 0;
            if (!fields.Unsigned(2, read) || !fields.Done()) return std::string(kError);
            value = read;
            return std::string(kOk);
        };
    };
    table.Add("DCMMP", setting(m_gain));
    table.Add("DCMMV", setting(m_speedLimit));
    table.Add("XPCV", [this](std::string_view a) {
        HexFields fields(a);
        std::int32_t target = 0;
        if (!fields.Signed(8, target) || !fields.Done()) return std::string(kError);
        return Begin(Move::Target, target, kOk);
    });
    table.Add("XPRX", [this](std::string_view a) {
        return a.empty() ? Begin(Move::Reference, m_rest, "!XPRXO") : SetReferences(a);
    });
    table.Add("XPOM", [this](std::string_view a) {
        return a.empty() ? Begin(Move::Homing, 0, "!XPOMO") : std::string(kError);
    });
    table.Add("XRCG", Order([this] { Finish(); }));
    table.Add("XEFC", [this](std::string_view a) {
        return a.empty() ? tarvic::Format("!XEFC%4.4X", Status()) : std::string(kError);
    });
}

std::string AxisBench::SetReferences(std::string_view arguments)
{
    HexFields fields(arguments);
    std::int32_t left = 0, rest = 0, right = 0;
    if (!fields.Signed(8, left) || !fields.Signed(8, rest) || !fields.Signed(8, right) || !fields.Done() ||
        left > right)
        return kError;
    m_left = left;
    m_right = right;
    m_rest = rest;
    return kOk;
}

std::string AxisBench::Begin(Move move, std::int64_t goal, const char* reply)
{
    m_move = move;
    // Moves stay within the reference positions once they are known.
    m_goal = m_left ? std::clamp(goal, *m_left, *m_right) : goal;
    m_integral = 0;
    return reply;
}

void AxisBench::Finish()
{
    m_move = Move::None;
    m_ownCommand.reset();
    m_integral = 0;
}

double AxisBench::Limit() const { return m_speedLimit ? m_speedLimit * kFullCommand / 255 : kDefaultLimit; }

double AxisBench::Limited(double command) const
{
    // The card cuts the motor at a pressed end switch, in its direction.
    if ((LeftPressed() && command < 0) || (RightPressed() && command > 0)) return 0;
    return command;
}

void AxisBench::AfterStep(DcMotor& motor)
{
    const double perRadian = kPitch / (2 * std::numbers::pi);
    if (Carriage() < 0) motor.HoldAt(-m_start / perRadian);
    if (Carriage() > kTravel) motor.HoldAt((kTravel - m_start) / perRadian);
}

void AxisBench::AfterSample()
{
    if (m_move == Move::None) return;
    if (m_move == Move::Homing) {
        if (!LeftPressed()) {
            m_ownCommand = std::clamp(kHomingGain * (-kHomingSpeed - SpeedReading()), -Limit(), Limit());
            return;
        }
        ZeroPosition();
        m_referenced = true;
        Finish();
        return;
    }
    const double error = static_cast<double>(m_goal - PositionReading());
    const bool blocked = (error > 0 && RightPressed()) || (error < 0 && LeftPressed());
    if (blocked || (error == 0 && SpeedReading() == 0)) {
        Finish();  // arrived, or stopped at an end switch
        return;
    }
    const double gain = m_gain ? m_gain / 4.0 : kDefaultGain;
    const double wanted = gain * (error + m_integral / 20) - 4 * gain * SpeedReading();
    // The integral takes the last lines that friction holds back, not the run.
    if (std::abs(wanted) < Limit()) m_integral += error;
    m_ownCommand = std::clamp(wanted, -Limit(), Limit());
}

}  // namespace cardsim
