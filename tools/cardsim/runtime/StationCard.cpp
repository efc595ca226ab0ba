#include "StationCard.h"

#include <algorithm>

#include "tarvic/platform/Text.h"

namespace cardsim {

StationCard::StationCard(const Station& station)
    : m_station(station),
      m_inputs(static_cast<std::size_t>(station.inputBytes), 0),
      m_outputs(static_cast<std::size_t>(station.outputBytes), 0),
      m_target(m_inputs)
{
    AddPanelCommands();
}

void StationCard::AddPanelCommands()
{
    const auto ok = [](std::string_view) { return std::string(kOk); };
    m_commands = {
        {'?', "VER", [](std::string_view) { return std::string("!VER") + kIdentification; }},
        {'?', "LEL", [this](std::string_view) { return ReadInputs(); }},
        {'?', "ARU", [](std::string_view) { return std::string("!ARU 00"); }},
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
    for (const int byte : m_inputs) reply += tarvic::Format("%2.2X", byte);
    if (m_station.stateField) reply += " 00";  // state 0: normal operation
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
    m_outputs = outputs;
    // Output bit n (byte n / 8, first byte first) drives input bit n.
    std::fill(m_target.begin(), m_target.end(), 0);
    for (std::size_t i = 0; i < m_outputs.size() && i < m_target.size(); ++i) m_target[i] = m_outputs[i];
    m_changeAt = m_now + kFollowDelay;
    return kOk;
}

void StationCard::Advance(SimDuration elapsed)
{
    m_now += elapsed;
    if (m_changeAt && m_now >= *m_changeAt) {
        m_inputs = m_target;
        m_changeAt.reset();
    }
}

}  // namespace cardsim
