#include "StationCard.h"

#include <algorithm>

#include "tarvic/platform/Text.h"

namespace cardsim {

StationCard::StationCard(const Station& station)
    : m_station(station), m_machine(station.machine, station.inputBytes, station.outputBytes)
{
    AddPanelCommands();
}

void StationCard::AddPanelCommands()
{
    const auto ok = [](std::string_view) { return std::string(kOk); };
    m_commands = {
        {'?', "VER", [](std::string_view) { return std::string("!VER") + kIdentification; }},
        {'?', "LEL", [this](std::string_view) { return ReadInputs(); }},
        // Whether the emergency stop is pressed.
        {'?', "ARU",
         [this](std::string_view) {
             const bool pressed = std::any_of(m_station.machine.emergency.begin(), m_station.machine.emergency.end(),
                                              [&](const IoBit& bit) { return Inputs()[bit.byte] >> bit.bit & 1; });
             return tarvic::Format("!ARU %2.2X", pressed ? 1 : 0);
         }},
        {'!', "EMD 1", ok},
        {'!', "EMD 0", ok},
        {'!', "ESR ", [this](std::string_view arguments) { return SetOutputs(arguments); }},
    };
}

std::string StationCard::Execute(std::string_view line)
{
    if (line.empty()) return kError;
    const std::string_view text = line.substr(1);
    for (const auto& command : m_commands)
        if (line.front() == command.prefix && text.starts_with(command.mnemonic))
            return command.answer(text.substr(command.mnemonic.size()));
    return kError;
}

std::string StationCard::ReadInputs() const
{
    std::string reply = "!LEL";
    for (const int byte : Inputs()) reply += tarvic::Format("%2.2X", byte);
    if (m_station.stateField) reply += tarvic::Format(" %2.2X", m_machine.State());
    return reply;
}

std::string StationCard::SetOutputs(std::string_view arguments)
{
    std::vector<int> outputs;
    for (int i = 0; i < m_station.outputBytes; ++i) {
        std::uint32_t byte = 0;
        if (!tarvic::ReadHexField(arguments, 2 * i, 2, byte)) return kError;
        outputs.push_back(static_cast<int>(byte));
    }
    if (arguments.size() != static_cast<std::size_t>(2 * m_station.outputBytes)) return kError;
    m_machine.SetOutputs(outputs);
    return kOk;
}

void StationCard::Schedule(SimDuration at, std::string order)
{
    const auto later = std::upper_bound(m_scenario.begin(), m_scenario.end(), at,
                                        [](SimDuration t, const auto& entry) { return t < entry.first; });
    m_scenario.insert(later, {at, std::move(order)});
}

void StationCard::RunTo(SimDuration time)
{
    m_machine.Run(std::chrono::duration<double>(time - m_now).count());
    m_now = time;
}

void StationCard::Advance(SimDuration elapsed)
{
    const SimDuration end = m_now + elapsed;
    // The operator's orders fall at their own times, between the machine's moves.
    while (!m_scenario.empty() && m_scenario.front().first <= end) {
        RunTo(std::max(m_now, m_scenario.front().first));
        m_machine.Control(m_scenario.front().second);
        m_scenario.pop_front();
    }
    RunTo(end);
}

}  // namespace cardsim
