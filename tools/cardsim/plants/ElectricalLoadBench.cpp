#include "ElectricalLoadBench.h"

#include "runtime/CommandTable.h"
#include "runtime/HexFields.h"

namespace cardsim {

// A 500-line encoder; the current command's full scale is 1 A. The axis's
// motor without the screw, coupled to its generator.
const MotorBenchTraits ElectricalLoadBench::kTraits{
    'S', 500, 1.0, {6e-6, 2e-5, 3e-3}, 1.024, MotorBenchTraits::FourthField::LoadCurrent, true};

void ElectricalLoadBench::AddOwnCommands(CommandTable& table)
{
    // The PC writes "CTC+"; the line's '+' does not reach the card's reader.
    const auto setLevel = [this](std::string_view a) {
        HexFields fields(a);
        std::uint32_t level = 0;
        if (!fields.Unsigned(2, level) || !fields.Done()) return std::string(kError);
        m_level = level / 255.0;
        return std::string(kOk);
    };
    table.Add("CTC", setLevel);
    table.Add("CTC+", setLevel);
    // The card's own moves' settings: this bench has no moves of its own.
    table.Add("DCMMP", Acknowledged({2}));
    table.Add("DCMMV", Acknowledged({2}));
}

double ElectricalLoadBench::GeneratorCurrent(double speed) const
{
    const double conductance = m_level * kFullConductance;
    return MotorConstants::kTorque * speed * conductance / (1 + kGeneratorResistance * conductance);
}

}  // namespace cardsim
