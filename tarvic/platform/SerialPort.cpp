#include "tarvic/platform/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <strings.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tarvic/platform/Text.h"

namespace tarvic {
namespace {

struct DeviceRange {
    int firstCom;
    const char* prefix;
};
// Fixed and stable, so that a stored "COMn" always names the same device.
constexpr DeviceRange kRanges[] = {{1, "/dev/ttyS"}, {33, "/dev/ttyUSB"}, {65, "/dev/ttyACM"}};
constexpr int kPerRange = 32;

}  // namespace

SerialPort::SerialPort() : m_wakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SerialPort::~SerialPort()
{
    Close();
    if (m_wakeFd >= 0) ::close(m_wakeFd);
}

std::string SerialPort::DevicePath(const std::string& portName)
{
    if (portName.find('/') != std::string::npos) return portName;
    if (portName.size() < 4 || ::strncasecmp(portName.c_str(), "COM", 3) != 0) return {};
    int number = 0;
    for (std::size_t i = 3; i < portName.size(); ++i) {
        if (portName[i] < '0' || portName[i] > '9' || number > 1000) return {};
        number = number * 10 + (portName[i] - '0');
    }
    for (const auto& range : kRanges)
        if (number >= range.firstCom && number < range.firstCom + kPerRange)
            return range.prefix + std::to_string(number - range.firstCom);
    return {};
}

std::string SerialPort::PortName(const std::string& devicePath)
{
    for (const auto& range : kRanges) {
        const std::string prefix = range.prefix;
        if (devicePath.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = devicePath.substr(prefix.size());
        if (digits.empty() || digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos)
            return {};
        const int index = std::stoi(digits);
        return index < kPerRange ? Format("COM%d", range.firstCom + index) : std::string{};
    }
    return {};
}

bool SerialPort::Open(const std::string& portName)
{
    if (IsOpen()) return false;
    const std::string path = DevicePath(portName);
    if (path.empty()) {
        Fail(ENOENT);  // a name that stands for no device
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail(errno);
        return false;
    }
    // flock keeps out our other programs (even run as root, which TIOCEXCL does
    // not stop); TIOCEXCL keeps out everybody else. Not a tty: no TIOCEXCL,
    // and the line settings will be refused.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        Fail(error);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    std::lock_guard lock(m_mutex);
    m_fd = fd;
    m_error = 0;
    m_receiveMask = false;
    return true;
}

int SerialPort::LastError() const
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

void SerialPort::Fail(int error)
{
    std::lock_guard lock(m_mutex);
    m_error = error;
}

std::optional<SerialPort::Holder> SerialPort::FindHolder(const std::string& portName)
{
    struct stat device{};
    if (::stat(DevicePath(portName).c_str(), &device) != 0) return std::nullopt;
    // One short table of the kernel's: "1: FLOCK  ADVISORY  WRITE <pid> <maj>:<min>:<inode> 0 EOF",
    // with "->" after the number for a waiter rather than a holder.
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, type, mode, access, file;
        int pid = 0;
        if (!(fields >> number >> type) || type == "->") continue;
        if (!(fields >> mode >> access >> pid >> file)) continue;
        unsigned major = 0, minor = 0;
        unsigned long inode = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%lu", &major, &minor, &inode) != 3) continue;
        if (major != ::major(device.st_dev) || minor != ::minor(device.st_dev) || inode != device.st_ino) continue;
        std::string program;
        std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/comm"), program);
        return Holder{pid, program};
    }
    return std::nullopt;
}

bool SerialPort::SetLineSettings()
{
    std::lock_guard lock(m_mutex);
    termios settings{};
    if (m_fd < 0) return false;
    if (::tcgetattr(m_fd, &settings) != 0) {
        m_error = errno;
        return false;
    }
    // Binary mode: the host's serial driver translates nothing, so neither may the tty.
    settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                               IXOFF | IXANY | INPCK);
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD);
    settings.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, B57600) != 0 || ::cfsetospeed(&settings, B57600) != 0 ||
        ::tcsetattr(m_fd, TCSANOW, &settings) != 0) {
        m_error = errno;
        return false;
    }
    return true;
}

bool SerialPort::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_fd >= 0;
}

void SerialPort::Close()
{
    std::unique_lock lock(m_mutex);
    if (m_fd < 0) return;
    m_receiveMask = false;
    Wake();
    m_noWaiter.wait(lock, [this] { return m_waiters == 0; });
    ::tcflush(m_fd, TCIOFLUSH);
    ::close(m_fd);
    m_fd = -1;
}

void SerialPort::Wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(m_wakeFd, &one, sizeof one);
}

void SerialPort::SetReceiveMask(bool enabled)
{
    std::lock_guard lock(m_mutex);
    m_receiveMask = enabled;
    if (!enabled) Wake();
}

SerialPort::Event SerialPort::WaitEvent()
{
    std::unique_lock lock(m_mutex);
    if (m_fd < 0) return Event::Lost;
    if (!m_receiveMask) return Event::None;
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    ++m_waiters;
    lock.unlock();
    int ready;
    do {
        ready = ::poll(fds, 2, -1);
    } while (ready < 0 && errno == EINTR);
    lock.lock();
    --m_waiters;
    m_noWaiter.notify_all();

    if (fds[1].revents & POLLIN) {
        std::uint64_t count;
        [[maybe_unused]] const auto got = ::read(m_wakeFd, &count, sizeof count);
    }
    // A line that only says it is readable has bytes; with a hang-up beside
    // it, only what is still queued counts.
    const bool hungUp = (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    int queued = 0;
    if ((fds[0].revents & POLLIN) && (!hungUp || (::ioctl(m_fd, FIONREAD, &queued) == 0 && queued > 0)))
        return m_receiveMask ? Event::Received : Event::None;
    // A hung-up line keeps reporting itself.
    if (ready < 0 || hungUp) {
        m_error = EIO;
        return Event::Lost;
    }
    return Event::None;
}

std::size_t SerialPort::QueuedInput() const
{
    std::lock_guard lock(m_mutex);
    int queued = 0;
    if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &queued) != 0 || queued < 0) return 0;
    return static_cast<std::size_t>(queued);
}

long SerialPort::Read(char* buffer, std::size_t max)
{
    std::lock_guard lock(m_mutex);
    if (m_fd < 0) return -1;
    ssize_t got;
    do {
        got = ::read(m_fd, buffer, max);
    } while (got < 0 && errno == EINTR);
    if (got < 0 && errno == EAGAIN) return 0;
    if (got < 0) m_error = errno;
    return got;
}

bool SerialPort::Write(const char* data, std::size_t size)
{
    std::lock_guard lock(m_mutex);
    if (m_fd < 0) return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(m_fd, data + done, size - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN) return false;
        pollfd out{m_fd, POLLOUT, 0};
        if (::poll(&out, 1, 1000) <= 0 || (out.revents & (POLLHUP | POLLERR | POLLNVAL))) return false;
    }
    return true;
}

bool SerialPort::TransmitChar(char c)
{
    std::lock_guard lock(m_mutex);
    return m_fd >= 0 && ::write(m_fd, &c, 1) == 1;
}

void SerialPort::Purge()
{
    std::lock_guard lock(m_mutex);
    if (m_fd >= 0) ::tcflush(m_fd, TCIOFLUSH);
}

}  // namespace tarvic
