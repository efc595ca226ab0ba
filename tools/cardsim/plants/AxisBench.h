#pragma once

#include <cstdint>
#include <optional>

#include "MotorBench.h"

namespace cardsim {

// The numerical axis: the motor drives a carriage through a screw between
// two end switches, the left one the reference. Beside the PC's loop the
// card makes moves of its own under its position loop: homing ("XPOM": to
// the left switch, where the position becomes 0), the reference move
// ("XPRX": to the rest position) and the move to the target ("XPCV"), each
// with its busy bit in the status word while it lasts.
class AxisBench : public MotorBench {
public:
    static const MotorBenchTraits kTraits;
    static constexpr double kPitch = 50.26548 / 33.2;  // mm of travel per motor revolution
    static constexpr double kTravel = 100.0;           // mm between the end switches
    // Status word ("XEFC").
    static constexpr unsigned kLeftSwitch = 0x001;
    static constexpr unsigned kRightSwitch = 0x002;
    static constexpr unsigned kReferenced = 0x004;  // homed since power-up
    static constexpr unsigned kHoming = 0x100;
    static constexpr unsigned kReferenceMove = 0x200;
    static constexpr unsigned kTargetMove = 0x400;

    // `start`: the carriage's place at power-up, mm from the left switch.
    explicit AxisBench(Noise noise, double start = 40);

    double Carriage() const;  // mm from the left switch
    unsigned Status() const;

protected:
    void AddOwnCommands(CommandTable& table) override;
    std::optional<double> OwnCommand() const override { return m_ownCommand; }
    double Limited(double command) const override;
    void AfterStep(DcMotor& motor) override;
    void AfterSample() override;

private:
    enum class Move { None, Homing, Reference, Target };

    std::string Begin(Move move, std::int64_t goal, const char* reply);
    std::string SetReferences(std::string_view arguments);
    void Finish();
    double Limit() const;
    bool LeftPressed() const { return Carriage() <= kSwitchTolerance; }
    bool RightPressed() const { return Carriage() >= kTravel - kSwitchTolerance; }

    static constexpr double kSwitchTolerance = 1e-4;  // mm

    double m_start;
    Move m_move = Move::None;
    std::int64_t m_goal = 0;
    double m_integral = 0;
    std::optional<double> m_ownCommand;
    bool m_referenced = false;
    std::optional<std::int64_t> m_left, m_right;  // soft limits, once "XPRX" gave them
    std::int64_t m_rest = 0;
    std::uint32_t m_gain = 0;        // "DCMMP": the position loop's gain, 0 for the default
    std::uint32_t m_speedLimit = 0;  // "DCMMV": the moves' command limit, 0 for the default
};

}  // namespace cardsim
