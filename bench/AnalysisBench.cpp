// The cost of identifying a recorded open-loop step: the fit and every
// graphic method on a 20-block record.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "engine/analysis/Identification.h"

namespace {

using banc::analysis::StepRecord;

// 20 blocks of 32 points every 0.2 s of the air flow bench's temperature: a
// first order of 20 s with 1.5 s of delay, 1 % of noise, the step at point 40.
StepRecord TwentyBlocks()
{
    constexpr int kPoints = 20 * 32, kRest = 40;
    constexpr double kPeriod = 0.2, kChange = 33.3, kLag = 20, kDelay = 1.5;
    std::mt19937 engine(1);
    std::normal_distribution<double> noise(0.0, 1.0);
    StepRecord record;
    record.period = kPeriod;
    for (int i = 0; i < kPoints; ++i) {
        const double t = (i - kRest) * kPeriod - kDelay;
        record.command.push_back(i >= kRest ? 50 : 0);
        record.measure.push_back((t > 0 ? kChange * -std::expm1(-t / kLag) : 0) + noise(engine));
    }
    return record;
}

void BM_IdentifyTwentyBlocks(benchmark::State& state)
{
    const StepRecord record = TwentyBlocks();
    for (auto _ : state) {
        const banc::analysis::Identification identification = banc::analysis::Identify(record);
        if (!identification.Identified()) state.SkipWithError("not identified");
        benchmark::DoNotOptimize(identification);
    }
}
BENCHMARK(BM_IdentifyTwentyBlocks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
