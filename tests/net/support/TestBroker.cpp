#include "net/support/TestBroker.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <utility>

namespace tarvic::test {
namespace {

constexpr int kTermAsks = 50;
constexpr std::chrono::milliseconds kTermWait{100};

int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool Accepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool accepted = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return accepted;
}

std::filesystem::path NewFolder()
{
    static std::atomic<int> count{0};
    auto folder = std::filesystem::temp_directory_path() /
                  ("tarvic-courtier-" + std::to_string(::getpid()) + "-" + std::to_string(count++));
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace

net::MqttSettings LoopbackSettings(int port, net::Poste poste)
{
    net::MqttSettings settings;
    settings.host = "127.0.0.1";
    settings.port = port;
    settings.poste = std::move(poste);
    return settings;
}

bool TestBroker::Available() { return ::access(kProgram, X_OK) == 0; }

TestBroker::TestBroker(std::string configuration)
    : m_folder(NewFolder()), m_configuration(std::move(configuration)), m_port(FreeLoopbackPort())
{
    Start();
}

TestBroker::~TestBroker()
{
    Stop();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::string TestBroker::Log() const
{
    std::ifstream file(m_folder / "mosquitto.log");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool TestBroker::Start()
{
    if (m_pid > 0 || m_port == 0 || !Available()) return Running();
    const std::string config = File("mosquitto.conf");
    {
        std::ofstream file(config);
        // Kept on disk across Stop and Start, as a service's broker keeps its sessions.
        file << "persistence true\npersistence_location " << m_folder.string() << "/\n"
             << "log_dest file " << File("mosquitto.log") << "\n"
             << "listener " << m_port << " 127.0.0.1\n"
             << m_configuration << "\n";
        // Root would hand the broker over to the account "mosquitto", which cannot read the test's files.
        if (::geteuid() == 0) file << "user root\n";
    }
    const std::string program = kProgram;
    const std::string errors = File("mosquitto.log");
    m_pid = ::fork();
    if (m_pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // Its complaints (running as root, for one) go to its log, not into the test's output.
        const int log = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        ::execl(program.c_str(), program.c_str(), "-c", config.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (m_pid < 0) return false;
    const bool up = WaitUntil([&] {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;  // it refused its configuration
            return true;
        }
        return Accepts(m_port);
    });
    if (!up) Stop();
    return Running();
}

void TestBroker::Stop()
{
    if (m_pid <= 0) return;
    // Mosquitto forgets a SIGTERM that comes between its listening and its
    // loop's start: asked again until it has gone, killed if it never does.
    const auto gone = [this] { return ::waitpid(m_pid, nullptr, WNOHANG) == m_pid; };
    bool stopped = false;
    for (int asked = 0; asked < kTermAsks && !stopped; ++asked) {
        ::kill(m_pid, SIGTERM);
        stopped = WaitUntil(gone, kTermWait);
    }
    if (!stopped) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    m_pid = -1;
}

void TestBroker::Freeze()
{
    if (m_pid > 0) ::kill(m_pid, SIGSTOP);
}

void TestBroker::Thaw()
{
    if (m_pid > 0) ::kill(m_pid, SIGCONT);
}

}  // namespace tarvic::test
