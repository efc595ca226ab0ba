#include "support/ScriptedCard.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace tarvic::test {

ScriptedCard::ScriptedCard() : ScriptedCard(Obliging()) {}

ScriptedCard::ScriptedCard(Script script)
    : m_script(std::move(script)), m_stop(::eventfd(0, EFD_CLOEXEC)), m_thread([this] { Run(); })
{
}

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
    // Asleep until a line comes or the card is stopped: a bench measures the
    // panel beside it.
    pollfd fds[2] = {{m_peer.MasterFd(), POLLIN, 0}, {m_stop, POLLIN, 0}};
    std::string pending;
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        char buffer[4096];
        const ssize_t got = ::read(m_peer.MasterFd(), buffer, sizeof buffer);
        if (got <= 0) return;
        pending.append(buffer, static_cast<std::size_t>(got));
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
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(m_stop, &one, sizeof one);
        m_thread.join();
        ::close(m_stop);
    }
    m_peer.HangUp();
}

}  // namespace tarvic::test
