// cardsim: a simulated interface card on a pseudo-terminal.
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>

#include "ControlFifo.h"
#include "Options.h"
#include "Pty.h"
#include "SimulatedClock.h"
#include "plants/Benches.h"
#include "runtime/BenchCard.h"
#include "runtime/Scenario.h"
#include "runtime/StationCard.h"
#include "tarvic/Version.h"
#include "tarvic/platform/Text.h"
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
        if (m_out) *m_out << direction << tarvic::Latin1ToUtf8(line) << std::endl;
    }

private:
    std::ofstream m_file;
    std::ostream* m_out = nullptr;
};

// The station's scenario, every order checked before the card starts.
bool LoadScenario(const std::string& path, cardsim::StationCard& station, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = "impossible de lire le sc\xE9nario " + path;
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto scenario = cardsim::ParseScenario(text, error);
    if (!scenario) return false;
    for (const auto& [at, order] : *scenario) {
        error = station.Check(order);
        if (!error.empty()) return false;
        station.Schedule(at, order);
    }
    return true;
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
    if (options->version) {
        std::cout << "cardsim " TARVIC_VERSION_STRING "\n";
        return 0;
    }
    std::unique_ptr<cardsim::SimulatedCard> card;
    cardsim::StationCard* station = nullptr;
    cardsim::ControlFifo control;
    if (!options->bench.empty()) {
        card = std::make_unique<cardsim::BenchCard>(cardsim::MakeBench(options->bench, options->seed, options->noise));
    } else {
        auto stationCard = std::make_unique<cardsim::StationCard>(*cardsim::FindStation(options->station));
        station = stationCard.get();
        card = std::move(stationCard);
        if ((!options->scenario.empty() && !LoadScenario(options->scenario, *station, error)) ||
            (!options->control.empty() && !control.Open(options->control, error))) {
            std::cerr << "cardsim: " << tarvic::Latin1ToUtf8(error) << "\n";
            return 2;
        }
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
        pollfd in[2] = {{pty.Master(), POLLIN, 0}, {control.Fd(), POLLIN, 0}};
        const int ready = ::poll(in, control.Fd() >= 0 ? 2 : 1, kIdleWakeMs);
        card->Advance(clock.Elapsed());
        if (ready > 0 && (in[1].revents & POLLIN)) {
            for (const std::string& order : control.ReadOrders()) {
                const std::string refused = station->Control(order);
                log.Write("* ", refused.empty() ? order : refused);
            }
        }
        if (ready <= 0 || !(in[0].revents & POLLIN)) continue;
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
