// The serial link's costs: line assembly, lines through a real pty from the
// simulated card, and the reading thread's wake-ups while the card is silent.
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <set>
#include <thread>

#include "support/CardsimProcess.h"
#include "support/PtyPeer.h"
#include "support/TraceCapture.h"
#include "tarvic/serial/ComThread.h"
#include "tarvic/serial/LineAssembler.h"

namespace {

constexpr double kLinkBytesPerSecond = 57600.0 / 11.0;  // 8N2: 11 bits a byte

std::string ReplyStream(std::size_t bytes)
{
    const std::string lines = "!LEL1234 02\r\n!VER CARDSIM 1.0\r\n!OK\r\nxy!ABC-12+3\r\n";
    std::string stream;
    while (stream.size() < bytes) stream += lines;
    return stream;
}

void BM_LineAssembly(benchmark::State& state)
{
    const std::string stream = ReplyStream(1 << 20);
    tarvic::LineAssembler assembler;
    std::size_t lines = 0;
    for (auto _ : state) {
        // Fed in the reading loop's chunks of 300 bytes.
        for (std::size_t at = 0; at < stream.size(); at += 300)
            assembler.Feed(std::string_view(stream).substr(at, 300),
                           [&lines](std::string_view, tarvic::LineAssembler::End) { ++lines; });
    }
    benchmark::DoNotOptimize(lines);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.counters["times_link_rate"] = benchmark::Counter(
        static_cast<double>(state.iterations() * stream.size()) / kLinkBytesPerSecond, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LineAssembly);

class CountingComThread : public CComThread {
public:
    using CComThread::CComThread;
    ~CountingComThread() override { ExitInstance(); }
    void TraiteRecept(std::string) override { ++m_lines; }
    std::atomic<long> m_lines{0};
};

constexpr long kFloodLines = 100000;

// cardsim floods kFloodLines input replies; the reading thread hands each to TraiteRecept.
void BM_PtyLinesToTraiteRecept(benchmark::State& state)
{
    tarvic::test::TraceCapture quiet;  // the chunk traces would otherwise dominate
    for (auto _ : state) {
        state.PauseTiming();
        tarvic::test::CardsimProcess card({"--flood", std::to_string(kFloodLines)});
        CountingComThread com(card.Path());
        com.m_traite = true;
        com.CreateThread();
        com.LitOpenPort()->Wait(5000);
        state.ResumeTiming();
        com.WriteCommBlock("?GO\r\n", 5);
        while (com.m_lines < kFloodLines + 1) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(state.iterations() * (kFloodLines + 1)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PtyLinesToTraiteRecept)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The floor: the same flood read with read() and counted with memchr.
void BM_PtyLinesPlainRead(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        tarvic::test::CardsimProcess card({"--flood", std::to_string(kFloodLines)});
        const int fd = ::open(card.Path().c_str(), O_RDWR | O_NOCTTY);
        state.ResumeTiming();
        [[maybe_unused]] const auto sent = ::write(fd, "?GO\r\n", 5);
        long lines = 0;
        char buffer[4096];
        while (lines < kFloodLines + 1) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got <= 0) break;
            for (const char* p = buffer; (p = static_cast<const char*>(std::memchr(p, '\n', buffer + got - p))); ++p)
                ++lines;
        }
        ::close(fd);
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(state.iterations() * (kFloodLines + 1)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PtyLinesPlainRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

std::set<std::string> Tasks()
{
    std::set<std::string> tasks;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.') tasks.insert(entry->d_name);
        ::closedir(dir);
    }
    return tasks;
}

long ContextSwitches(const std::string& task)
{
    std::ifstream status("/proc/self/task/" + task + "/status");
    long total = 0;
    for (std::string line; std::getline(status, line);)
        if (line.find("ctxt_switches:") != std::string::npos) total += std::stol(line.substr(line.find(':') + 1));
    return total;
}

// Every wake-up of the reading thread is a context switch; while the card is
// silent there must be none.
void BM_SilentCardWakeUps(benchmark::State& state)
{
    tarvic::test::PtyPeer silent;
    const auto before = Tasks();
    CountingComThread com(silent.SlavePath());
    com.CreateThread();
    com.LitOpenPort()->Wait(5000);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::string reader;
    for (const auto& task : Tasks())
        if (!before.count(task)) reader = task;
    const long start = ContextSwitches(reader);
    for (auto _ : state) std::this_thread::sleep_for(std::chrono::seconds(2));
    state.counters["wakeups_per_2s"] =
        static_cast<double>(ContextSwitches(reader) - start) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SilentCardWakeUps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
