// cardsim: a simulated interface card on a pseudo-terminal.
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>

#include "Options.h"
#include "Pty.h"
#include "SimulatedClock.h"
#include "plants/Benches.h"
#include "runtime/BenchCard.h"
#include "runtime/StationCard.h"
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

std::unique_ptr<cardsim::SimulatedCard> MakeCard(const cardsim::Options& options)
{
    if (!options.bench.empty())
        return std::make_unique<cardsim::BenchCard>(cardsim::MakeBench(options.bench, options.seed, options.noise));
    return std::make_unique<cardsim::StationCard>(*cardsim::FindStation(options.station));
}

// The card's time moves on while nothing arrives, so that a bench's plant
// runs between the PC's requests; a wake-up a second keeps each catch-up short.
constexpr int kIdleWakeMs = 1000;

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
    const auto card = MakeCard(*options);
    cardsim::SimulatedClock clock(options->speed);
    tarvic::LineAssembler assembler;
    int received = 0;

    const auto answer = [&](std::string_view line, tarvic::LineAssembler::End end) {
        if (end != tarvic::LineAssembler::End::CrLf) return;
        log.Write("> ", std::string(line));
        ++received;
        if (!options->silent) {
            card->Advance(clock.Elapsed());
            const std::string reply = card->Execute(line);
            log.Write("< ", reply);
            const auto pieces = cardsim::Pieces(reply, options->delivery);
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
                pty.Write(pieces[i]);
            }
        }
        if (options->flood > 0 && received == 1) {
            std::string burst;
            const std::string inputs = card->Execute("?LEL") + "\r\n";
            for (long i = 0; i < options->flood; ++i) burst += inputs;
            pty.Write(burst);
        }
    };

    while (!g_quit && pty.IsOpen()) {
        pollfd in{pty.Master(), POLLIN, 0};
        const int ready = ::poll(&in, 1, kIdleWakeMs);
        card->Advance(clock.Elapsed());
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
