#include "support/ScriptedCard.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace tarvic::test {

ScriptedCard::ScriptedCard() : ScriptedCard(Obliging()) {}

ScriptedCard::ScriptedCard(Answer answer, Pace pace)
    : m_answer(std::move(answer)), m_pace(pace), m_stop(::eventfd(0, EFD_CLOEXEC)), m_thread([this] { Run(); })
{
}

ScriptedCard::~ScriptedCard() { HangUp(); }

ScriptedCard::Answer ScriptedCard::Obliging(const std::string& version, const std::string& inputs)
{
    return [version, inputs](const std::string& line) -> std::optional<std::string> {
        if (line == "?VER") return "!VER" + version;
        if (line == "?LEL") return "!LEL" + inputs;
        if (line.rfind('?', 0) == 0) return "!" + line.substr(1) + " 00";
        return "!OK";
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
            {
                std::lock_guard lock(m_mutex);
                m_lines.push_back(line);
            }
            const std::optional<std::string> reply = m_answer(line);
            if (m_hungUp) return;  // by the answer itself
            if (reply) Reply(*reply + "\r\n");
        }
    }
}

bool ScriptedCard::Pause(std::chrono::milliseconds pause)
{
    pollfd stop = {m_stop, POLLIN, 0};
    return ::poll(&stop, 1, static_cast<int>(pause.count())) == 0;
}

void ScriptedCard::Reply(const std::string& bytes)
{
    if (m_pace.bytes == 0) {
        m_peer.Send(bytes);
        return;
    }
    for (std::size_t from = 0; from < bytes.size(); from += m_pace.bytes) {
        if (from > 0 && !Pause(m_pace.pause)) return;
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

bool ScriptedCard::WaitLines(std::size_t count, std::chrono::milliseconds timeout) const
{
    return WaitUntil([&] { return Lines().size() >= count; }, timeout);
}

void ScriptedCard::HangUp()
{
    if (std::this_thread::get_id() == m_thread.get_id()) {
        // From an answer: the thread ends once the answer has returned.
        m_hungUp = true;
    } else if (m_thread.joinable()) {
        // The thread first: it must not read a descriptor being closed.
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(m_stop, &one, sizeof one);
        m_thread.join();
        ::close(m_stop);
    }
    m_peer.HangUp();
}

}  // namespace tarvic::test
