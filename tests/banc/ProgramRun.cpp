#include "ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace banc::test {

ProgramRun::ProgramRun(const std::vector<std::string>& arguments, const std::string& folder,
                       const std::vector<std::string>& environment, const std::string& program)
{
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) entries.emplace_back(*entry);
    entries.insert(entries.end(), environment.begin(), environment.end());
    std::vector<char*> envp, argv{const_cast<char*>(program.c_str())};
    for (auto& entry : entries) envp.push_back(entry.data());
    envp.push_back(nullptr);
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::setpgid(0, 0);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        if (::chdir(folder.c_str()) != 0) ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::setpgid(m_pid, m_pid);  // both sides, so that it holds whoever runs first
    ::close(out[1]);
    ::close(err[1]);
    m_out = out[0];
    m_err = err[0];
}

ProgramRun::~ProgramRun()
{
    if (m_pid > 0) {
        ::kill(-m_pid, SIGKILL);
        Finish();
    }
}

bool ProgramRun::Pump(int timeoutMs)
{
    pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
    if (m_out < 0 && m_err < 0) return false;
    if (::poll(fds, 2, timeoutMs) <= 0) return m_out >= 0 || m_err >= 0;
    for (int i = 0; i < 2; ++i) {
        int& fd = i == 0 ? m_out : m_err;
        if (fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
        char buffer[4096];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            (i == 0 ? m_output : m_errors).append(buffer, static_cast<std::size_t>(got));
        else {
            ::close(fd);
            fd = -1;
        }
    }
    return true;
}

bool ProgramRun::WaitForError(const std::string& text, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_errors.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline || !Pump(50)) return m_errors.find(text) != std::string::npos;
    }
    return true;
}

void ProgramRun::Interrupt()
{
    if (m_pid > 0) ::kill(-m_pid, SIGINT);
}

void ProgramRun::Send(int signal)
{
    if (m_pid > 0) ::kill(m_pid, signal);
}

void ProgramRun::CloseErrors()
{
    if (m_err >= 0) ::close(m_err);
    m_err = -1;
}

int ProgramRun::Finish()
{
    while (Pump(1000)) {}
    if (m_pid > 0) {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        m_pid = -1;
    }
    return m_status;
}

int RunProgram(const std::vector<std::string>& arguments, const std::string& folder, std::string* output,
               std::string* errors, const std::vector<std::string>& environment, const std::string& program)
{
    ProgramRun run(arguments, folder, environment, program);
    const int status = run.Finish();
    if (output) *output = run.Output();
    if (errors) *errors = run.Errors();
    return status;
}

}  // namespace banc::test
