// The prediction of a closed loop as the card runs it: a 320 s run of the air
// flow bench's temperature loop at the card's 50 ms, every sample recorded.
#include <benchmark/benchmark.h>

#include "engine/analysis/Prediction.h"

namespace {

using namespace banc::analysis;

void BM_PredictLoop(benchmark::State& state, ProcessModel model, bool derivative)
{
    CardPid pid;
    pid.k1 = 8.7;
    pid.k2 = 1;
    pid.integral = 23 / 1024.0;  // every 50 ms, Ti' = 2.3 s
    pid.derivativeAction = derivative;
    pid.derivative = 850 / 1024.0;
    pid.pole = 367 / 1024.0;
    pid.period = 0.05;
    const LoopStep step{0, 50, 0.4, 320, 0.05};
    for (auto _ : state) {
        LoopPrediction prediction = PredictLoop(model, LoopScale{}, pid, step);
        benchmark::DoNotOptimize(prediction);
    }
    state.SetItemsProcessed(state.iterations() * 6400);
}

BENCHMARK_CAPTURE(BM_PredictLoop, first_order_pi, ProcessModel{ModelKind::FirstOrderDelay, 0.667, 20, 1.5}, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PredictLoop, strejc4_pid, ProcessModel{ModelKind::Strejc, 0.667, 5, 1.5, 4}, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PredictLoop, integrator_pi, ProcessModel{ModelKind::Integrating, 0.05, 0, 1.5}, false)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
