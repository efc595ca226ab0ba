// The simulated card's costs: simulated seconds a wall second for each bench
// with the PID and the recording running, and the reply latency over a pty.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "plants/Benches.h"
#include "runtime/BenchCard.h"
#include "support/CardsimProcess.h"

namespace {

using namespace std::chrono_literals;

// A PID loop on each bench (in the order of the bench names), its recording
// armed, blocks fetched as a PC would.
const std::vector<std::vector<std::string>> kConfigurations = {
    {"!RTRE107", "!RER0032", "!RKP0400010003FFC000", "!RKI0005", "!RKD0800", "!RKF0300", "!DCPDFDD", "!CBF0660", "!EMO",
     "!EVE0032", "!RD"},
    {"!RTRE107", "!RER01F4", "!RKP0800010003FFC000", "!RKI0019", "!RKD0800", "!RKF0300", "!DCPNFP1", "!CBF0660", "!EMO",
     "!EVE01F4", "!RD"},
    {"!RTRE107", "!RER000A", "!RKP0400010001400000", "!RKI0066", "!RKD0800", "!RKF0300", "!DCPXFFP", "!CBF000003E8",
     "!EMO", "!EVE000A", "!RD"},
    {"!RTRE103", "!RER000A", "!RKP28000A0000200000", "!RKI0022", "!DCPIFFV", "!CBF00000028", "!EMO", "!EVE000A", "!RD"},
    {"!DTCMT", "!CTC80", "!RTRE103", "!RER000A", "!RKP28000A0000200000", "!RKI0022", "!DCPSFFV", "!CBF00000064", "!EMO",
     "!EVE000A", "!RD"},
};

void BM_SimulatedSecondsPerWallSecond(benchmark::State& state)
{
    const auto index = static_cast<std::size_t>(state.range(0));
    cardsim::BenchCard card(cardsim::MakeBench(cardsim::BenchNames()[index], 1, 0.5));
    for (const auto& line : kConfigurations[index])
        if (card.Execute(line) != "!OK") state.SkipWithError(("refused: " + line).c_str());
    for (auto _ : state) {
        card.Advance(1s);
        if (card.Execute("?TEM00") == "!TEM00O") benchmark::DoNotOptimize(card.Execute("?TSF00"));
    }
    state.SetLabel(cardsim::BenchNames()[index]);
    state.counters["sim_s_per_wall_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulatedSecondsPerWallSecond)->DenseRange(0, 4);

// A raw client of cardsim's pty.
class RawPort {
public:
    explicit RawPort(const std::string& path) : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY))
    {
        termios settings{};
        ::tcgetattr(m_fd, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(m_fd, TCSANOW, &settings);
    }
    ~RawPort() { ::close(m_fd); }
    // Writes the line, returns its reply ("" when none came).
    std::string Exchange(const std::string& line)
    {
        if (::write(m_fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return "";
        std::string reply;
        char buffer[4096];
        while (reply.size() < 2 || reply.compare(reply.size() - 2, 2, "\r\n") != 0) {
            pollfd in{m_fd, POLLIN, 0};
            if (::poll(&in, 1, 5000) <= 0) return "";
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0) return "";
            reply.append(buffer, static_cast<std::size_t>(got));
        }
        return reply;
    }

private:
    int m_fd;
};

void BM_ReplyLatencyOverPty(benchmark::State& state, const char* request)
{
    tarvic::test::CardsimProcess card({"--bench", "niveaueau", "--speed", "50"});
    RawPort port(card.Path());
    for (const char* line : {"!EVE01F4\r\n", "!RD\r\n"}) port.Exchange(line);
    // A block in the card's queue (16 s of the card's time), asked for again and again.
    while (port.Exchange("?TEM00\r\n") != "!TEM00O\r\n") std::this_thread::sleep_for(10ms);
    std::size_t bytes = 0;
    for (auto _ : state) bytes += port.Exchange(request).size();
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK_CAPTURE(BM_ReplyLatencyOverPty, measurement, "?AEBC\r\n")->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReplyLatencyOverPty, block, "?TSF00\r\n")->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
