#include "support/CardsimProcess.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvic::test {

CardsimProcess::CardsimProcess(const std::vector<std::string>& args)
{
    int out[2];
    if (::pipe(out) != 0) return;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        std::vector<char*> argv{const_cast<char*>(TARVIC_CARDSIM)};
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(TARVIC_CARDSIM, argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    m_out = ::fdopen(out[0], "r");
    char line[256] = {};
    if (m_out && std::fgets(line, sizeof line, m_out)) {
        m_path = line;
        if (!m_path.empty() && m_path.back() == '\n') m_path.pop_back();
    }
}

CardsimProcess::~CardsimProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    if (m_out) std::fclose(m_out);
}

}  // namespace tarvic::test
