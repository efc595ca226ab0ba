#include "Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace cardsim {

Pty::Pty()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        Close();
        return;
    }
    m_slavePath = ::ptsname(m_master);
    m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    // Raw until a client sets its own settings: nothing echoed, nothing translated.
    termios raw{};
    if (m_slave >= 0 && ::tcgetattr(m_slave, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slave, TCSANOW, &raw);
    }
}

Pty::~Pty()
{
    Close();
    if (!m_link.empty()) ::unlink(m_link.c_str());
}

bool Pty::Link(const std::string& path)
{
    ::unlink(path.c_str());
    if (::symlink(m_slavePath.c_str(), path.c_str()) != 0) return false;
    m_link = path;
    return true;
}

void Pty::Write(const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size() && m_master >= 0;) {
        const ssize_t written = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EAGAIN) {
            pollfd out{m_master, POLLOUT, 0};
            ::poll(&out, 1, 100);
        } else if (!(written < 0 && errno == EINTR)) {
            return;
        }
    }
}

void Pty::Close()
{
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
    m_slave = m_master = -1;
}

}  // namespace cardsim
