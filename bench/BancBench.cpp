// The bench console's engine on the simulated card at 50 times the clock: the
// wall time of a recording of 20 blocks, against the time the serial link
// itself needs to carry it at 57600 baud 8N2 (11 bits a byte), the engine's
// processor time per block (both its threads), and the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <ctime>

#include "engine/link/CardLink.h"
#include "engine/link/EmbeddedCard.h"
#include "engine/run/Experiment.h"
#include "engine/run/Setup.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/Trace.h"

namespace {

constexpr int kBlocks = 20;
constexpr double kSpeed = 50;
constexpr double kBitsPerByte = 11, kBaud = 57600;
// "?TSFnn" CR LF out, "!TSFnn" + 2048 data digits + 2 check digits CR LF back.
constexpr double kBlockBytes = 8 + 2056 + 2;

double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void Recording(benchmark::State& state, const char* benchName)
{
    tarvic::SetTraceSink([](std::string_view) {});
    banc::Settings settings;
    settings.bench = banc::FindBench(benchName);
    settings.mode = banc::FindMode(*settings.bench, "pid");
    double carried = 0, processor = 0, wall = 0, recordingSeconds = 0;
    for (auto _ : state) {
        banc::Elements elements;
        // Twenty blocks of the bench's factory recording period.
        const auto profile = std::make_shared<tarvic::MemoryProfile>();
        profile->WriteProfileInt("ENREGISTREMENT", "NB_BLOC", kBlocks);
        if (!banc::Configure(settings, profile, elements).error.empty()) state.SkipWithError("setup");
        banc::EmbeddedCard card;
        if (!card.Start(banc::EmbeddedCard::Locate(""), {"--bench", benchName, "--speed", "50"}).empty())
            state.SkipWithError("no simulated card");
        banc::CardLink link(card.Path());
        link.Open();
        const double secondsPerBlock = elements.recording->LitTempsAttente() / 1000.0 / kSpeed;
        banc::Experiment experiment(elements, settings, link);
        experiment.SetPollInterval(banc::Experiment::PollIntervalFor(secondsPerBlock));
        const double cpuStart = ProcessorSeconds();
        const auto start = std::chrono::steady_clock::now();
        const banc::Outcome outcome = experiment.Run();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (outcome.status != banc::Outcome::Status::Finished) state.SkipWithError("the run failed");
        processor += ProcessorSeconds() - cpuStart;
        wall += seconds;
        carried += static_cast<double>(link.BytesCarried());
        recordingSeconds = secondsPerBlock * kBlocks;
        state.SetIterationTime(seconds);
    }
    const double runs = static_cast<double>(state.iterations());
    const double blocksOnTheLine = kBlocks * kBlockBytes * kBitsPerByte / kBaud;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["wall_s"] = wall / runs;
    state.counters["recording_s"] = recordingSeconds;  // the card's own time for the blocks, at 50x
    state.counters["line_blocks_s"] = blocksOnTheLine;
    state.counters["wall_per_line_blocks"] = wall / runs / blocksOnTheLine;
    state.counters["line_all_s"] = carried / runs * kBitsPerByte / kBaud;  // every line of the run
    state.counters["cpu_ms_per_block"] = processor / runs / kBlocks * 1000;
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

}  // namespace

BENCHMARK_CAPTURE(Recording, air_flow, "debitair")->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Recording, water_level, "niveaueau")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
