#pragma once

#include <sys/types.h>

#include <string>

namespace tarvic::test {

// Another program holding a port: a child process named "porteur" that
// opens the device and takes the lock our programs take, until released.
class PortHolder {
public:
    static constexpr char kName[] = "porteur";

    explicit PortHolder(const std::string& devicePath);
    ~PortHolder();
    PortHolder(const PortHolder&) = delete;
    PortHolder& operator=(const PortHolder&) = delete;

    bool Holds() const { return m_holds; }
    pid_t Pid() const { return m_pid; }
    // Lets the port go: the child ends.
    void Release();

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_holds = false;
};

// The errno with which the platform's serial port fails to open `port` for
// an unprivileged user (0 if it opens). Run as root, a child process first
// becomes "nobody": root's privileges would open a device of any mode.
int OpenErrorAsUnprivileged(const std::string& port);

}  // namespace tarvic::test
