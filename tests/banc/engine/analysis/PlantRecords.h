#pragma once

#include <algorithm>
#include <cmath>
#include <random>

#include "engine/analysis/StepRecord.h"

namespace banc::analysis::test {

// Open-loop step records of the simulated card's plants, integrated from the
// equations of the protocol page at the card's sample period, the command
// held between samples, and sampled as the recording does every `every`
// samples; Gaussian noise of `noise` % of the sensor's span.
struct PlantRun {
    int every = 4;  // card samples per recorded point
    int rest = 40;  // recorded points before the step
    int points = 640;
    double noise = 0;
    unsigned seed = 1;
};

// The air flow bench: the fan at 0 %, the heater from 0 to 50 %; the
// temperature in % of the sensor's 20-80 °C. Its model: K = 40 K / 100 % per
// 60 K of span = 0.6667 % per %, τ = 20 s, θ = 1.5 s.
inline StepRecord AirFlowTemperature(const PlantRun& run)
{
    constexpr double kCardPeriod = 0.05, kLag = 20, kRiseFullHeat = 40, kSpan = 60;
    constexpr int kTransport = 30;  // 1.5 s of samples from the heater to the sensor
    constexpr double kFan = 0, kHeatBefore = 0, kHeatAfter = 50;
    std::mt19937 engine(run.seed);
    std::normal_distribution<double> gauss(0.0, run.noise > 0 ? run.noise : 1.0);
    const double hold = std::exp(-kCardPeriod / kLag);
    std::vector<double> rise;  // r at every card sample
    StepRecord record;
    record.period = kCardPeriod * run.every;
    double r = 0;
    for (int sample = 0; sample < run.points * run.every; ++sample) {
        const double heat = sample >= run.rest * run.every ? kHeatAfter : kHeatBefore;
        rise.push_back(r);
        if (sample % run.every == 0) {
            const double seen = sample >= kTransport ? rise[static_cast<std::size_t>(sample - kTransport)] : 0;
            record.command.push_back(heat);
            record.measure.push_back(seen / kSpan * 100 + (run.noise > 0 ? gauss(engine) : 0));
        }
        // dr/dt = (40 K · c/100 / (1 + f/100) − r) / 20 s, exact for the held command
        const double target = kRiseFullHeat * heat / 100 / (1 + kFan / 100);
        r = target + (r - target) * hold;
    }
    return record;
}

// The water level bench: the pump from 50 % to `pumpAfter`, both tanks at
// rest at 50 %; the second tank's level in % (RK4 on the two tanks' equations).
inline StepRecord SecondTankLevel(const PlantRun& run, double pumpAfter)
{
    constexpr double kCardPeriod = 0.5, kPumpBefore = 50;
    const double a = 1.0 / 30, b = std::sqrt(50.0) / 30;
    std::mt19937 engine(run.seed);
    std::normal_distribution<double> gauss(0.0, run.noise > 0 ? run.noise : 1.0);
    const auto slopes = [&](double u, double h1, double h2, double& d1, double& d2) {
        d1 = a * u - b * std::sqrt(std::max(h1, 0.0));
        d2 = b * std::sqrt(std::max(h1, 0.0)) - b * std::sqrt(std::max(h2, 0.0));
    };
    StepRecord record;
    record.period = kCardPeriod * run.every;
    double h1 = 50, h2 = 50;
    for (int sample = 0; sample < run.points * run.every; ++sample) {
        const double u = sample >= run.rest * run.every ? pumpAfter : kPumpBefore;
        if (sample % run.every == 0) {
            record.command.push_back(u);
            record.measure.push_back(h2 + (run.noise > 0 ? gauss(engine) : 0));
        }
        double k1[2], k2[2], k3[2], k4[2];
        const double h = kCardPeriod;
        slopes(u, h1, h2, k1[0], k1[1]);
        slopes(u, h1 + h / 2 * k1[0], h2 + h / 2 * k1[1], k2[0], k2[1]);
        slopes(u, h1 + h / 2 * k2[0], h2 + h / 2 * k2[1], k3[0], k3[1]);
        slopes(u, h1 + h * k3[0], h2 + h * k3[1], k4[0], k4[1]);
        h1 = std::clamp(h1 + h / 6 * (k1[0] + 2 * k2[0] + 2 * k3[0] + k4[0]), 0.0, 100.0);
        h2 = std::clamp(h2 + h / 6 * (k1[1] + 2 * k2[1] + 2 * k3[1] + k4[1]), 0.0, 100.0);
    }
    return record;
}

}  // namespace banc::analysis::test
