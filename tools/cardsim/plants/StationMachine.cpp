#include "StationMachine.h"

#include <algorithm>

namespace cardsim {
namespace {

void Set(std::vector<int>& bytes, const IoBit& bit)
{
    if (bit.byte >= 0 && bit.byte < static_cast<int>(bytes.size()))
        bytes[static_cast<std::size_t>(bit.byte)] |= 1 << bit.bit;
}

bool Has(const std::vector<int>& bytes, const IoBit& bit)
{
    return bit.byte >= 0 && bit.byte < static_cast<int>(bytes.size()) &&
           (bytes[static_cast<std::size_t>(bit.byte)] >> bit.bit & 1);
}

}  // namespace

StationMachine::StationMachine(const MachineTable& table, int inputBytes, int outputBytes)
    : m_table(table), m_inputBytes(inputBytes), m_outputs(static_cast<std::size_t>(outputBytes), 0),
      m_pressed(table.operatorInputs.size(), false)
{
    for (const auto& actuator : table.actuators) m_positions.push_back(actuator.startsForward ? 1.0 : 0.0);
}

bool StationMachine::Output(const IoBit& bit) const { return Has(m_outputs, bit); }

std::vector<int> StationMachine::Inputs() const
{
    std::vector<int> inputs(static_cast<std::size_t>(m_inputBytes), 0);
    for (std::size_t i = 0; i < m_table.actuators.size(); ++i) {
        const ActuatorRow& actuator = m_table.actuators[i];
        if (actuator.forwardSensor && m_positions[i] >= 1) Set(inputs, *actuator.forwardSensor);
        if (actuator.backwardSensor && m_positions[i] <= 0) Set(inputs, *actuator.backwardSensor);
    }
    for (std::size_t i = 0; i < m_pressed.size(); ++i)
        if (m_pressed[i]) Set(inputs, m_table.operatorInputs[i].bit);
    if (m_emergency)
        for (const IoBit& bit : m_table.emergency) Set(inputs, bit);
    return inputs;
}

void StationMachine::Run(double seconds)
{
    if (m_emergency) return;  // frozen where they stand
    for (std::size_t i = 0; i < m_table.actuators.size(); ++i) {
        const ActuatorRow& actuator = m_table.actuators[i];
        const bool forward = actuator.forward && Output(*actuator.forward);
        // A single-acting actuator goes back when its output drops.
        const bool backward = actuator.backward ? Output(*actuator.backward) : !forward;
        if (forward == backward) continue;  // no order, or both: it stays where it is
        const double step = actuator.travel > 0 ? seconds / actuator.travel : 1.0;
        m_positions[i] = std::clamp(m_positions[i] + (forward ? step : -step), 0.0, 1.0);
    }
    FollowOrigin();
}

void StationMachine::FollowOrigin()
{
    const std::vector<int> inputs = Inputs();
    while (m_originStep < m_table.originSteps.size() &&
           std::all_of(
               m_table.originSteps[m_originStep].begin(), m_table.originSteps[m_originStep].end(),
               [&](const IoBit& bit) { return Has(inputs, bit); }))
        ++m_originStep;
}

std::optional<std::size_t> StationMachine::InputOf(std::string_view order) const
{
    const auto space = order.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const std::string_view name = order.substr(space + 1);
    for (std::size_t i = 0; i < m_table.operatorInputs.size(); ++i)
        if (name == m_table.operatorInputs[i].name) return i;
    return std::nullopt;
}

std::string StationMachine::Check(std::string_view order) const
{
    if (order == "aru" || order == "rearme") return "";
    if (!order.starts_with("appui ") && !order.starts_with("relache ")) return "ordre inconnu : " + std::string(order);
    if (!InputOf(order)) return "entr\xE9" "e inconnue : " + std::string(order.substr(order.find(' ') + 1));
    return "";
}

std::string StationMachine::Control(std::string_view order)
{
    std::string error = Check(order);
    if (!error.empty()) return error;
    if (order == "aru") {
        m_emergency = true;
    } else if (order == "rearme") {
        // After an emergency stop the station goes back to origin first.
        m_emergency = false;
        m_originStep = 0;
        FollowOrigin();
    } else {
        m_pressed[*InputOf(order)] = order.starts_with("appui ");
    }
    return error;
}

}  // namespace cardsim
