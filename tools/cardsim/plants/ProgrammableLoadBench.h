#pragma once

#include <array>
#include <cstdint>

#include "MotorBench.h"

namespace cardsim {

// The motor and load bench: the shaft drives a programmable load (a second
// motor in current) whose torque follows the law of "ICC", decoded from the
// card values in physical units:
//   Cfs = COMP_FS / 48.3 / 32                     mN m
//   Cc  = CE / 48.3 / 32                          mN m
//   a   = Cax / 7244.5 * T / 256 * 1000           uN m per tr/min
//   b   = Caxx / 1086750 * T * T / 4096 * 10^6    nN m per (tr/min)^2
// with T the speed sampling period in ms; each term switched by its bit of
// the configuration byte (bit 0 Cfs, 1 Cc, 2 a, 3 b; 0 the natural load):
//   load = Cfs sgn(n) + Cc + a n + b n |n|,  n the speed in tr/min.
class ProgrammableLoadBench : public MotorBench {
public:
    static const MotorBenchTraits kTraits;
    static constexpr double kTorqueCounts = 48.3 * 32;  // "AME" and "ICC" counts per mN m

    explicit ProgrammableLoadBench(Noise noise) : MotorBench(kTraits, noise) {}

    // The law's torque at a shaft speed (rad/s), N m against positive rotation.
    double LawTorque(double speed) const;

protected:
    void AddOwnCommands(CommandTable& table) override;
    ShaftLoad Load(double speed) const override;
    double LoadCurrent() const override;

private:
    std::string SetLaw(std::string_view arguments);
    bool On(int bit) const { return (m_configuration >> bit) & 1; }
    double DryFriction() const;  // N m

    std::uint32_t m_configuration = 0;
    std::array<std::int32_t, 4> m_terms{};  // COMP_FS, CE, Cax, Caxx
};

}  // namespace cardsim
