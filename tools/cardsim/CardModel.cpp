#include "CardModel.h"

#include "tarvic/platform/Text.h"

namespace cardsim {

CardModel::CardModel(const Station& station)
    : m_station(station),
      m_inputs(static_cast<std::size_t>(station.inputBytes), 0),
      m_outputs(static_cast<std::size_t>(station.outputBytes), 0),
      m_target(m_inputs)
{
    AddPanelCommands();
}

void CardModel::AddPanelCommands()
{
    const auto ok = [](const std::string&, Clock::time_point) { return std::string("!OK"); };
    m_commands = {
        {'?', "VER", [](const std::string&, Clock::time_point) { return std::string("!VER") + kIdentification; }},
        {'?', "LEL", [this](const std::string&, Clock::time_point) { return ReadInputs(); }},
        {'?', "ARU", [](const std::string&, Clock::time_point) { return std::string("!ARU 00"); }},
        {'!', "EMD 1", ok},
        {'!', "EMD 0", ok},
        {'!', "ESR ", [this](const std::string& arguments, Clock::time_point now) { return SetOutputs(arguments, now); }},
    };
}

std::string CardModel::Execute(const std::string& line, Clock::time_point now)
{
    if (line.empty()) return "!Erreur";
    const std::string text = tarvic::Mid(line, 1);
    for (const auto& command : m_commands)
        if (line.front() == command.prefix && text.compare(0, command.mnemonic.size(), command.mnemonic) == 0)
            return command.answer(tarvic::Mid(text, static_cast<std::ptrdiff_t>(command.mnemonic.size())), now);
    return "!Erreur";
}

std::string CardModel::ReadInputs() const
{
    std::string reply = "!LEL";
    for (const int byte : m_inputs) reply += tarvic::Format("%2.2X", byte);
    if (m_station.stateField) reply += " 00";  // state 0: normal operation
    return reply;
}

std::string CardModel::SetOutputs(const std::string& arguments, Clock::time_point now)
{
    std::vector<int> outputs;
    for (int i = 0; i < m_station.outputBytes; ++i) {
        std::uint32_t byte = 0;
        if (!tarvic::ReadHexField(arguments, 2 * i, 2, byte)) return "!Erreur";
        outputs.push_back(static_cast<int>(byte));
    }
    if (arguments.size() != static_cast<std::size_t>(2 * m_station.outputBytes)) return "!Erreur";
    m_outputs = outputs;
    // Output bit n (byte n / 8, first byte first) drives input bit n.
    std::fill(m_target.begin(), m_target.end(), 0);
    for (std::size_t i = 0; i < m_outputs.size() && i < m_target.size(); ++i) m_target[i] = m_outputs[i];
    m_changeAt = now + kFollowDelay;
    return "!OK";
}

std::optional<Clock::time_point> CardModel::Advance(Clock::time_point now)
{
    if (m_changeAt && now >= *m_changeAt) {
        m_inputs = m_target;
        m_changeAt.reset();
    }
    return m_changeAt;
}

}  // namespace cardsim
