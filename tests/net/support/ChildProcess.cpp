#include "net/support/ChildProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvic::test {
namespace {

constexpr int kLineLimitMs = 20000;

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& command)
{
    int input[2], output[2];
    if (command.empty() || ::pipe(input) != 0) return;
    if (::pipe(output) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        return;
    }
    std::vector<char*> argv;
    for (const auto& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(input[0], STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        ::close(input[1]);
        ::close(output[0]);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    m_input = input[1];
    m_output = output[0];
}

ChildProcess::~ChildProcess()
{
    Kill();
    if (m_output >= 0) ::close(m_output);
}

std::string ChildProcess::ReadLine()
{
    while (m_pending.find('\n') == std::string::npos) {
        pollfd ready{m_output, POLLIN, 0};
        if (m_output < 0 || ::poll(&ready, 1, kLineLimitMs) <= 0) return {};
        char buffer[256];
        const ssize_t got = ::read(m_output, buffer, sizeof buffer);
        if (got <= 0) return {};
        m_pending.append(buffer, static_cast<std::size_t>(got));
    }
    const auto end = m_pending.find('\n');
    std::string line = m_pending.substr(0, end);
    m_pending.erase(0, end + 1);
    return line;
}

int ChildProcess::CloseInputAndWait()
{
    if (m_input >= 0) ::close(m_input);
    m_input = -1;
    if (m_pid <= 0) return -1;
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::Kill()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    if (m_input >= 0) ::close(m_input);
    m_input = -1;
}

}  // namespace tarvic::test
