#pragma once

#include "MotorBench.h"

namespace cardsim {

// The electrically loaded machine: the shaft turns a generator (the motor's
// twin: Kg = Kt, 4 ohm inside) into a load whose conductance follows the
// level of "CTC+" (0 to 100 %; 100 % is 20 ohm, 0 % an open circuit):
//   i = Kg w G / (1 + Rg G),   load torque = Kg i.
// The braking torque grows with the speed and with the level; at 100 % the
// motor holds the factory's 1500 tr/min with some 60 % of its current.
class ElectricalLoadBench : public MotorBench {
public:
    static const MotorBenchTraits kTraits;
    static constexpr double kGeneratorResistance = 4.0;  // ohm
    static constexpr double kFullConductance = 0.05;     // siemens at 100 %

    explicit ElectricalLoadBench(Noise noise) : MotorBench(kTraits, noise) {}

    double Level() const { return m_level; }

protected:
    void AddOwnCommands(CommandTable& table) override;
    ShaftLoad Load(double speed) const override { return {0, MotorConstants::kTorque * GeneratorCurrent(speed)}; }
    double LoadCurrent() const override { return GeneratorCurrent(Motor().Speed()) * 1000; }

private:
    double GeneratorCurrent(double speed) const;

    double m_level = 0;  // 0 to 1
};

}  // namespace cardsim
