#include "engine/link/EmbeddedCard.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <tarvic/platform/Text.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace banc {
namespace {

// The card prints its path at once; a start that takes longer has failed.
constexpr int kStartTimeoutMs = 5000;
constexpr int kExecFailed = 127;

bool IsExecutable(const std::string& path) { return !path.empty() && ::access(path.c_str(), X_OK) == 0; }

// Between fork and exec only async-signal-safe calls: everything is made before.
[[noreturn]] void RunChild(int output, char* const* argv)
{
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the console
    // The console may block its signals to take them on a thread: the card must not inherit that.
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::dup2(output, STDOUT_FILENO);
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0) ::dup2(null, STDIN_FILENO);
    ::execv(argv[0], argv);
    ::_exit(kExecFailed);
}

// The first line the card prints, within the time; "" when there is none.
std::string FirstLine(int fd)
{
    std::string line;
    char c = 0;
    while (true) {
        pollfd in{fd, POLLIN, 0};
        if (::poll(&in, 1, kStartTimeoutMs) <= 0) return {};
        const ssize_t got = ::read(fd, &c, 1);
        if (got <= 0) return {};
        if (c == '\n') return line;
        line += c;
    }
}

}  // namespace

EmbeddedCard::~EmbeddedCard() { Stop(); }

std::string EmbeddedCard::Start(const std::string& program, const std::vector<std::string>& arguments)
{
    if (!IsExecutable(program))
        return tarvic::Format(
            "Carte simul\xE9" "e introuvable (%s) : construisez cardsim ou donnez son chemin dans "
            "TARVIC_CARDSIM.",
            program.empty() ? "cardsim" : program.c_str());
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return "Impossible de lancer la carte simul\xE9" "e.";
    m_pid = ::fork();
    if (m_pid == 0) RunChild(pipeFds[1], argv.data());
    ::close(pipeFds[1]);
    m_output = pipeFds[0];
    if (m_pid < 0) {
        Stop();
        return "Impossible de lancer la carte simul\xE9" "e.";
    }
    m_path = FirstLine(m_output);
    if (m_path.empty() || m_path[0] != '/') {
        Stop();
        return tarvic::Format("La carte simul\xE9" "e %s n'a pas d\xE9marr\xE9.", program.c_str());
    }
    return {};
}

void EmbeddedCard::Stop()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {}
        m_pid = -1;
    }
    if (m_output >= 0) ::close(m_output);
    m_output = -1;
}

std::string EmbeddedCard::ProgramFolder()
{
    char path[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string program(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? "." : program.substr(0, slash);
}

std::string EmbeddedCard::Locate(const std::string& programDir)
{
    if (const char* given = std::getenv("TARVIC_CARDSIM"); given && *given) return given;
    const std::string beside = programDir + "/cardsim";
    if (IsExecutable(beside)) return beside;
#ifdef TARVIC_BANC_CARDSIM_BUILD
    if (IsExecutable(TARVIC_BANC_CARDSIM_BUILD)) return TARVIC_BANC_CARDSIM_BUILD;
#endif
    return {};
}

std::vector<std::string> EmbeddedCard::Arguments(const std::string& bench, double speed, std::optional<double> noise,
                                                 std::optional<unsigned> seed)
{
    std::vector<std::string> arguments = {"--bench", bench, "--speed", tarvic::Format("%g", speed)};
    if (noise) arguments.insert(arguments.end(), {"--noise", tarvic::Format("%g", *noise)});
    if (seed) arguments.insert(arguments.end(), {"--seed", tarvic::Format("%u", *seed)});
    return arguments;
}

}  // namespace banc
