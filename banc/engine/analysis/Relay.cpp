#include "engine/analysis/Relay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "engine/analysis/Sampled.h"

namespace banc::analysis {
namespace {

// The first whole period is the loop's start-up, left out; at least two
// periods after it, each within 20 % of their mean in length and swing.
constexpr int kStartUpPeriods = 1;
constexpr int kMinPeriods = 2;
constexpr double kRegularity = 0.2;

constexpr const char* kNoOscillation =
    "Pas d'oscillation entretenue : la commande du relais ne bascule pas ou la mesure ne bouge pas.";
constexpr const char* kIrregular =
    "Oscillation irr\xE9guli\xE8re : ses p\xE9riodes ou ses amplitudes s'\xE9" "cartent de plus de 20 % de leur moyenne.";

bool Regular(const std::vector<double>& values)
{
    const double mean = MeanOf(values);
    return std::all_of(values.begin(), values.end(),
                       [&](double v) { return std::abs(v - mean) <= kRegularity * std::abs(mean); });
}

}  // namespace

RelayResult AnalyseRelay(const std::vector<double>& command, const std::vector<double>& measure, double period)
{
    RelayResult result;
    const std::size_t count = std::min(command.size(), measure.size());
    if (count < 2 || !(period > 0)) {
        result.refusal = kNoOscillation;
        return result;
    }
    const auto [low, high] = std::minmax_element(command.begin(), command.begin() + static_cast<long>(count));
    const double middle = (*low + *high) / 2;
    // The relay's switching instants upwards: the first point of each high state.
    std::vector<std::size_t> rises;
    for (std::size_t i = 1; i < count; ++i)
        if (command[i - 1] < middle && command[i] >= middle) rises.push_back(i);
    if (*high <= *low || rises.size() < 2) {
        result.refusal = kNoOscillation;
        return result;
    }
    const int whole = static_cast<int>(rises.size()) - 1;
    const int used = whole - kStartUpPeriods;
    if (used < kMinPeriods) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "Trop peu de p\xE9riodes d'oscillation enregistr\xE9" "es apr\xE8s la mise en route (%d, il en "
                      "faut au moins %d) : allongez l'essai.",
                      std::max(used, 0), kMinPeriods);
        result.refusal = text;
        return result;
    }
    std::vector<double> lengths, swings, commandSwings;
    for (std::size_t p = static_cast<std::size_t>(kStartUpPeriods); p + 1 < rises.size(); ++p) {
        const auto from = measure.begin() + static_cast<long>(rises[p]);
        const auto to = measure.begin() + static_cast<long>(rises[p + 1]);
        const auto [lowest, highest] = std::minmax_element(from, to);
        lengths.push_back(static_cast<double>(rises[p + 1] - rises[p]) * period);
        swings.push_back(*highest - *lowest);
        const auto commandFrom = command.begin() + static_cast<long>(rises[p]);
        const auto commandTo = command.begin() + static_cast<long>(rises[p + 1]);
        const auto [commandLow, commandHigh] = std::minmax_element(commandFrom, commandTo);
        commandSwings.push_back(*commandHigh - *commandLow);
    }
    if (MeanOf(swings) <= 0) {
        result.refusal = kNoOscillation;
        return result;
    }
    if (!Regular(lengths) || !Regular(swings)) {
        result.refusal = kIrregular;
        return result;
    }
    result.periods = used;
    result.amplitude = MeanOf(swings) / 2;
    result.relayAmplitude = MeanOf(commandSwings) / 2;
    result.ultimatePeriod = MeanOf(lengths);
    // The describing function of an ideal relay: Ku = 4 d / (π a).
    result.ultimateGain = 4 * result.relayAmplitude / (std::numbers::pi * result.amplitude);
    return result;
}

}  // namespace banc::analysis
