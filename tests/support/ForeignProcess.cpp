#include "support/ForeignProcess.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "tarvic/platform/SerialPort.h"

namespace tarvic::test {

// The children below run in a copy of a threaded program: they keep to
// system calls, and to the port object, which is their own.

PortHolder::PortHolder(const std::string& devicePath)
{
    int ready[2], release[2];
    if (::pipe(ready) != 0) return;
    if (::pipe(release) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return;
    }
    const char* path = devicePath.c_str();
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(ready[0]);
        ::close(release[1]);  // else its own copy would keep the pipe open
        ::prctl(PR_SET_NAME, kName);
        const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
        const char held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0;
        [[maybe_unused]] auto written = ::write(ready[1], &held, 1);
        char byte;
        [[maybe_unused]] auto got = ::read(release[0], &byte, 1);  // until the parent closes its end
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    m_release = release[1];
    char held = 0;
    m_holds = m_pid > 0 && ::read(ready[0], &held, 1) == 1 && held == 1;
    ::close(ready[0]);
}

PortHolder::~PortHolder() { Release(); }

void PortHolder::Release()
{
    if (m_release >= 0) ::close(m_release);
    m_release = -1;
    if (m_pid > 0) ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

int OpenErrorAsUnprivileged(const std::string& port)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() == 0 && !nobody) return -1;
    const uid_t uid = nobody ? nobody->pw_uid : 0;
    const gid_t gid = nobody ? nobody->pw_gid : 0;
    int result[2];
    if (::pipe(result) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        int error = -1;
        if (::geteuid() != 0 || (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0)) {
            SerialPort serial;
            error = serial.Open(port) ? 0 : serial.LastError();
        }
        [[maybe_unused]] auto written = ::write(result[1], &error, sizeof error);
        ::_exit(0);
    }
    ::close(result[1]);
    int error = -1;
    if (pid < 0 || ::read(result[0], &error, sizeof error) != sizeof error) error = -1;
    ::close(result[0]);
    if (pid > 0) ::waitpid(pid, nullptr, 0);
    return error;
}

}  // namespace tarvic::test
