// A twelve-frequency sweep of the air flow bench's temperature (a lag of 20 s
// after 1.5 s of transport) from 0.1/20 to 10/20 rad/s, on the embedded
// simulated card at 10,000 times the clock: its wall time against the card's
// own time for it, and its worst errors against the plant's transfer, without
// noise and with 1 % of it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "engine/link/CardLink.h"
#include "engine/link/EmbeddedCard.h"
#include "engine/run/FrequencySweep.h"
#include "engine/run/Setup.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/Trace.h"

namespace {

constexpr double kSpeed = 10000;
constexpr double kLag = 20, kTransport = 1.5;
constexpr double kPi = std::numbers::pi;

// The heater's transfer, the fan off: 40 K for the full command over the sensor's 60 K span.
std::complex<double> Heater(double hz)
{
    const std::complex<double> s(0, 2 * kPi * hz);
    return 40.0 / 60.0 * std::exp(-kTransport * s) / (1.0 + kLag * s);
}

void HeaterSweep(benchmark::State& state, const char* noise)
{
    tarvic::SetTraceSink([](std::string_view) {});
    banc::Settings settings;
    settings.bench = banc::FindBench("debitair");
    settings.mode = banc::FindMode(*settings.bench, "bo");
    settings.command = banc::FindCommand(*settings.bench, "chauffage");
    settings.measure = banc::FindMeasure(*settings.bench, "temperature");
    double wall = 0, card = 0, gainError = 0, phaseError = 0;
    int points = 0;
    for (auto _ : state) {
        banc::Elements elements;
        if (!banc::Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements).error.empty())
            state.SkipWithError("setup");
        banc::SweepRequest request;
        request.lowHz = 0.1 / kLag / (2 * kPi);
        request.highHz = 10 / kLag / (2 * kPi);
        request.speed = kSpeed;
        const banc::SweepPlan plan = banc::PlanSweep(request, settings, elements, std::nullopt);
        if (!plan.refusal.empty()) state.SkipWithError("plan");
        banc::EmbeddedCard simulated;
        if (!simulated
                 .Start(banc::EmbeddedCard::Locate(""), {"--bench", "debitair", "--speed", "10000", "--noise", noise})
                 .empty())
            state.SkipWithError("no simulated card");
        banc::CardLink link(simulated.Path());
        link.Open();
        banc::FrequencySweep sweep(elements, settings, link, plan);
        sweep.SetSpeed(kSpeed);
        const auto start = std::chrono::steady_clock::now();
        const banc::SweepResult result = sweep.Run();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (result.outcome.status != banc::Outcome::Status::Finished) state.SkipWithError("the sweep failed");
        wall += seconds;
        card += result.cardSeconds;
        points = static_cast<int>(result.points.size());
        for (const auto& point : result.points) {
            const std::complex<double> expected = Heater(point.frequencyHz);
            gainError = std::max(gainError, std::abs(point.gain / std::abs(expected) - 1) * 100);
            phaseError =
                std::max(phaseError, std::abs(std::remainder(point.phaseDeg - std::arg(expected) * 180 / kPi, 360)));
        }
        state.SetIterationTime(seconds);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["wall_s"] = wall / runs;
    state.counters["card_s"] = card / runs;
    state.counters["card_per_wall"] = card / wall;
    state.counters["points"] = points;
    state.counters["worst_gain_pct"] = gainError;
    state.counters["worst_phase_deg"] = phaseError;
}

}  // namespace

BENCHMARK_CAPTURE(HeaterSweep, no_noise, "0")->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeaterSweep, noise_1pct, "1")->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
