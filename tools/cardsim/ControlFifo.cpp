#include "ControlFifo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tarvic/platform/FileError.h"

namespace cardsim {

ControlFifo::~ControlFifo()
{
    if (m_fd >= 0) ::close(m_fd);
    if (!m_made.empty()) ::unlink(m_made.c_str());
}

bool ControlFifo::Open(const std::string& path, std::string& error)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) {
        if (::mkfifo(path.c_str(), 0600) != 0) {
            error = "impossible de cr\xE9" "er le tube de commande " + path + " : " +
                    tarvic::FileErrorReason(errno, tarvic::FileUse::Write);
            return false;
        }
        m_made = path;
    } else if (!S_ISFIFO(info.st_mode)) {
        error = path + " n'est pas un tube nomm\xE9";
        return false;
    }
    // Opened for writing as well, so that a writer closing it is no end of file.
    m_fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        error = "impossible d'ouvrir le tube de commande " + path + " : " +
                tarvic::FileErrorReason(errno, tarvic::FileUse::Read);
        return false;
    }
    return true;
}

std::vector<std::string> ControlFifo::ReadOrders()
{
    char buffer[512];
    ssize_t got = 0;
    while ((got = ::read(m_fd, buffer, sizeof buffer)) > 0) {
        m_pending.append(buffer, static_cast<std::size_t>(got));
        // A writer that never ends its line must not eat the memory.
        if (m_pending.size() > 4096) m_pending.clear();
    }
    std::vector<std::string> orders;
    for (auto end = m_pending.find('\n'); end != std::string::npos; end = m_pending.find('\n')) {
        std::string order = m_pending.substr(0, end);
        if (!order.empty() && order.back() == '\r') order.pop_back();
        if (!order.empty()) orders.push_back(std::move(order));
        m_pending.erase(0, end + 1);
    }
    return orders;
}

}  // namespace cardsim
