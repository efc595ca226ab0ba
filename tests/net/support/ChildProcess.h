#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tarvic::test {

// A program of the tests' own, with its standard input and output on pipes;
// killed when the test ends, whatever the path.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& command);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line it writes (without its end), "" when it wrote none within a generous limit.
    std::string ReadLine();
    // Closes its standard input and waits for its end: its exit status, -1 if killed.
    int CloseInputAndWait();
    // kill -9, and waits for its end.
    void Kill();

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
    std::string m_pending;
};

}  // namespace tarvic::test
