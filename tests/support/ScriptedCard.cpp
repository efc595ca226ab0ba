#include "support/ScriptedCard.h"

#include <pthread.h>

namespace tarvic::test {

ScriptedCard::ScriptedCard() : ScriptedCard(Obliging()) {}

ScriptedCard::ScriptedCard(Script script) : m_script(std::move(script)), m_thread([this] { Run(); }) {}

ScriptedCard::~ScriptedCard() { HangUp(); }

ScriptedCard::Script ScriptedCard::Obliging(const std::string& version, const std::string& inputs)
{
    return [version, inputs](const std::string& line, int) -> std::string {
        if (line == "?VER") return "!VER" + version + "\r\n";
        if (line == "?LEL") return "!LEL" + inputs + "\r\n";
        if (line.rfind('?', 0) == 0) return "!" + line.substr(1) + " 00\r\n";
        return "!OK\r\n";
    };
}

void ScriptedCard::Run()
{
    pthread_setname_np(pthread_self(), "Carte");
    std::string pending;
    while (!m_quit) {
        pending += m_peer.ReceiveUntil("\r\n", std::chrono::milliseconds(20));
        for (auto end = pending.find("\r\n"); end != std::string::npos; end = pending.find("\r\n")) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 2);
            int index;
            {
                std::lock_guard lock(m_mutex);
                index = static_cast<int>(m_lines.size());
                m_lines.push_back(line);
            }
            if (const std::string reply = m_script(line, index); !reply.empty()) m_peer.Send(reply);
        }
    }
}

std::vector<std::string> ScriptedCard::Lines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

bool ScriptedCard::WaitLines(std::size_t count, std::chrono::milliseconds timeout) const
{
    return WaitUntil([&] { return Lines().size() >= count; }, timeout);
}

void ScriptedCard::HangUp()
{
    // The thread first: it must not read a descriptor being closed.
    m_quit = true;
    if (m_thread.joinable()) m_thread.join();
    m_peer.HangUp();
}

}  // namespace tarvic::test
