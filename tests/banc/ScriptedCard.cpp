#include "ScriptedCard.h"

#include <chrono>

#include "recording/RecordingSupport.h"
#include "tarvic/platform/Text.h"

namespace banc::test {

ScriptedCard::ScriptedCard(Answer answer, Pace pace)
    : m_answer(std::move(answer)), m_pace(pace), m_thread([this] { Serve(); })
{
}

ScriptedCard::~ScriptedCard()
{
    m_stop = true;
    m_thread.join();
}

void ScriptedCard::Serve()
{
    std::string pending;
    while (!m_stop) {
        pending += m_peer.ReceiveUntil("\n", std::chrono::milliseconds(20));
        for (std::size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 2);
            {
                std::lock_guard lock(m_mutex);
                m_lines.push_back(line);
            }
            if (const auto reply = m_answer(line)) Reply(*reply + "\r\n");
        }
    }
}

void ScriptedCard::Reply(const std::string& bytes)
{
    if (m_pace.bytes == 0) {
        m_peer.Send(bytes);
        return;
    }
    for (std::size_t from = 0; from < bytes.size() && !m_stop; from += m_pace.bytes) {
        if (from > 0) std::this_thread::sleep_for(m_pace.pause);
        m_peer.Send(bytes.substr(from, m_pace.bytes));
    }
}

std::vector<std::string> ScriptedCard::Lines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

std::vector<std::string> ScriptedCard::LinesFrom(const std::string& from) const
{
    const auto lines = Lines();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == from) return {lines.begin() + static_cast<std::ptrdiff_t>(i), lines.end()};
    return {};
}

void ScriptedCard::HangUp() { m_peer.HangUp(); }

std::string BlockLine(int number, std::uint16_t value)
{
    tarvic::test::Valeurs values{};
    for (auto& row : values) row.fill(value);
    return tarvic::test::LigneBloc(number, values);
}

std::optional<std::string> CardAnswer(const std::string& line, std::uint16_t value)
{
    const std::string text = tarvic::Mid(line, 1);
    if (line.rfind("!", 0) == 0) return "!OK";
    if (text == "AEBC") return "!AEBC033303330333";
    if (text == "AMD") return "!AMD 0000";
    if (text == "AVS") return "!AVS0000000000000000";
    if (text == "ACO") return "!ACO0000";
    if (text.rfind("TEM", 0) == 0) return "!TEM" + tarvic::Mid(text, 3, 2) + "O";
    if (text.rfind("TSF", 0) == 0) {
        std::uint32_t number = 0;
        tarvic::ScanHex(tarvic::Mid(text, 3, 2), number);
        return BlockLine(static_cast<int>(number), value);
    }
    return "!Erreur";
}

}  // namespace banc::test
