// cardsim: a simulated interface card on a pseudo-terminal.
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <thread>

#include "CardModel.h"
#include "Options.h"
#include "Pty.h"
#include "tarvic/serial/LineAssembler.h"

namespace {

volatile std::sig_atomic_t g_quit = 0;

void OnSignal(int) { g_quit = 1; }

// The traffic log: "> " what the card received, "< " what it sent.
class TrafficLog {
public:
    explicit TrafficLog(const std::string& path)
    {
        if (path == "-")
            m_out = &std::cout;
        else if (!path.empty()) {
            m_file.open(path, std::ios::app);
            m_out = &m_file;
        }
    }
    void Write(const char* direction, const std::string& line)
    {
        if (m_out) *m_out << direction << line << std::endl;
    }

private:
    std::ofstream m_file;
    std::ostream* m_out = nullptr;
};

int PollTimeout(std::optional<cardsim::Clock::time_point> next)
{
    if (!next) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*next - cardsim::Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left) + 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = cardsim::ParseOptions(argc, argv, error);
    if (!options) {
        std::cerr << error;
        return error.rfind("usage", 0) == 0 ? 0 : 2;
    }
    cardsim::Pty pty;
    if (!pty.IsOpen()) {
        std::cerr << "cardsim: no pseudo-terminal available\n";
        return 1;
    }
    if (!options->link.empty() && !pty.Link(options->link)) {
        std::cerr << "cardsim: cannot create the link " << options->link << "\n";
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << pty.SlavePath() << std::endl;

    TrafficLog log(options->logFile);
    cardsim::CardModel card(*cardsim::FindStation(options->station));
    tarvic::LineAssembler assembler;
    int received = 0;
    std::optional<cardsim::Clock::time_point> nextChange;

    const auto answer = [&](std::string_view line, tarvic::LineAssembler::End end) {
        if (end != tarvic::LineAssembler::End::CrLf) return;
        log.Write("> ", std::string(line));
        ++received;
        if (!options->silent) {
            const std::string reply = card.Execute(std::string(line), cardsim::Clock::now());
            log.Write("< ", reply);
            const auto pieces = cardsim::Pieces(reply, options->delivery);
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
                pty.Write(pieces[i]);
            }
            nextChange = card.Advance(cardsim::Clock::now());
        }
        if (options->flood > 0 && received == 1) {
            std::string burst;
            const std::string inputs = card.Execute("?LEL", cardsim::Clock::now()) + "\r\n";
            for (long i = 0; i < options->flood; ++i) burst += inputs;
            pty.Write(burst);
        }
    };

    while (!g_quit && pty.IsOpen()) {
        pollfd in{pty.Master(), POLLIN, 0};
        const int ready = ::poll(&in, 1, PollTimeout(nextChange));
        nextChange = card.Advance(cardsim::Clock::now());
        if (ready <= 0 || !(in.revents & POLLIN)) continue;
        char buffer[4096];
        const ssize_t got = ::read(pty.Master(), buffer, sizeof buffer);
        if (got <= 0) continue;
        assembler.Feed(std::string_view(buffer, static_cast<std::size_t>(got)), answer);
        if (options->hangUpAfter >= 0 && received >= options->hangUpAfter) {
            log.Write("- ", "hang-up");
            pty.Close();
        }
    }
    return 0;
}
