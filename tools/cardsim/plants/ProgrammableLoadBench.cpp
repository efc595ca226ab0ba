#include "ProgrammableLoadBench.h"

#include <cmath>
#include <numbers>

#include "runtime/CommandTable.h"
#include "runtime/HexFields.h"

namespace cardsim {

// A 100-line encoder; the current command's full scale is 500 mA. A
// low-inertia motor and load machine: with 5 times fewer lines and half the
// current of the other benches, this is what keeps the factory PID's loops as
// lively as theirs. The dry friction is the one the factory law cancels.
const MotorBenchTraits ProgrammableLoadBench::kTraits{
    'I', 100, 0.5, {1e-6, 2e-5, 6.5e-3}, 2.048, MotorBenchTraits::FourthField::LoadCurrent, false};

void ProgrammableLoadBench::AddOwnCommands(CommandTable& table)
{
    table.Add("ICC", [this](std::string_view a) { return SetLaw(a); });
    // The card's monitor outputs: nothing to show them on the simulated bench.
    table.Add("ISA", Acknowledged({2, 2, 2, 2}));
    table.Add("AME", [this](std::string_view a) {
        return a.empty() ? "!AME" + Hex16(LawTorque(Motor().Speed()) * 1000 * kTorqueCounts) : std::string(kError);
    });
}

std::string ProgrammableLoadBench::SetLaw(std::string_view arguments)
{
    HexFields fields(arguments);
    std::uint32_t configuration = 0;
    std::array<std::int32_t, 4> terms{};
    if (!fields.Unsigned(2, configuration)) return kError;
    for (auto& term : terms)
        if (!fields.Signed(4, term)) return kError;
    if (!fields.Done()) return kError;
    m_configuration = configuration;
    m_terms = terms;
    return kOk;
}

double ProgrammableLoadBench::DryFriction() const { return On(0) * m_terms[0] / 48.3 / 32 * 1e-3; }

ShaftLoad ProgrammableLoadBench::Load(double speed) const
{
    const double period = GetEncoder().Window() * 1000;  // ms
    const double rpm = speed * 60 / (2 * std::numbers::pi);
    const double constant = m_terms[1] / 48.3 / 32;                               // mN m
    const double linear = m_terms[2] / 7244.5 * period / 256 * 1000;              // uN m / (tr/min)
    const double square = m_terms[3] / 1086750.0 * period * period / 4096 * 1e6;  // nN m / (tr/min)^2
    return {DryFriction(),
            On(1) * constant * 1e-3 + On(2) * linear * 1e-6 * rpm + On(3) * square * 1e-9 * rpm * std::abs(rpm)};
}

double ProgrammableLoadBench::LawTorque(double speed) const
{
    const double sign = (speed > 0) - (speed < 0);
    return DryFriction() * sign + Load(speed).torque;
}

double ProgrammableLoadBench::LoadCurrent() const
{
    // The load motor, of the same torque constant, makes the law's torque.
    return LawTorque(Motor().Speed()) / MotorConstants::kTorque * 1000;
}

}  // namespace cardsim
