#include "support/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

namespace tarvic::test {

PtyPeer::PtyPeer()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    m_slavePath = ::ptsname(m_master);
    m_keepOpen = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    ::tcgetattr(m_keepOpen, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_keepOpen, TCSANOW, &raw);
}

PtyPeer::~PtyPeer() { HangUp(); }

void PtyPeer::Send(const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (written <= 0) throw std::runtime_error("pty write failed");
        done += static_cast<std::size_t>(written);
    }
}

std::string PtyPeer::ReceiveUntil(const std::string& until, std::chrono::milliseconds timeout)
{
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (until.empty() || received.find(until) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd in{m_master, POLLIN, 0};
        if (::poll(&in, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[4096];
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got <= 0) break;
        received.append(buffer, static_cast<std::size_t>(got));
    }
    return received;
}

std::string PtyPeer::ReceiveFor(std::chrono::milliseconds duration) { return ReceiveUntil({}, duration); }

void PtyPeer::HangUp()
{
    if (m_keepOpen >= 0) ::close(m_keepOpen);
    if (m_master >= 0) ::close(m_master);
    m_keepOpen = m_master = -1;
}

}  // namespace tarvic::test
