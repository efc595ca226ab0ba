#include "engine/analysis/StepAnalysis.h"

#include <algorithm>
#include <cmath>

namespace banc {
namespace {

// How the end of a record is judged, as one would by eye on a recorder's trace:
//
// - The step is where the setpoint first moves (point 0 when the record starts
//   on it); the setpoint must then hold still, or the figures of a step mean
//   nothing. The change is from the measurement at the step to the mean of the
//   tail, the last fifth of what follows the step (at least 8 points).
// - Settled: every point of the tail lies within +-5 % of the change around the
//   tail's mean, and the tail's least-squares trend moves it by at most 2 % of
//   the change over its span (what remains of a first-order approach then stays
//   well inside the band). Only then are the final value (the tail's mean), the
//   overshoot, the rise time, the settling time and the time constant given.
// - Oscillating: over the second half of what follows the step, the measurement
//   crosses its mean back and forth, with a hysteresis of 3 noise deviations
//   (at least 0.5 % of the step) so that noise alone never counts, for at least
//   two whole periods; the period is read between the first and last upward
//   crossings, the amplitude is half the trough-to-crest swing of each period,
//   averaged. The swing is sustained when a period keeps at least 90 % of the
//   previous one's amplitude on average, dying out otherwise.
// - Otherwise the tail's trend says whether the measurement is still rising or
//   falling, and a tail beyond the band without either is unsteady.
// The noise deviation is read from the second differences (their median
// absolute deviation), which a smooth response hardly moves.
constexpr float kSetpointMoved = 0.01f;  // a change of the setpoint smaller than this is none
constexpr float kNoResponse = 1e-3f;     // nor is one of the measurement
constexpr int kMinTailPoints = 8;
constexpr float kTailShare = 0.2f;
constexpr float kBand = 0.05f;
constexpr float kMaxDrift = 0.02f;
constexpr float kRiseLow = 0.1f, kRiseHigh = 0.9f;
constexpr float kTimeConstant = 0.632121f;  // 1 - 1/e
constexpr float kNoiseDeviations = 3, kNoResponseDeviations = 5;
constexpr float kMinHysteresis = 0.005f;
constexpr int kMinPeriods = 2;
constexpr float kSustained = 0.9f;
constexpr float kMadToDeviation = 1.4826f;           // for normal noise
constexpr float kSecondDifferenceGain = 2.4494897f;  // sqrt(6): a second difference of white noise

using Samples = std::vector<float>;

float At(const Samples& y, int i) { return y[static_cast<std::size_t>(i)]; }

float Mean(const Samples& y, int from, int to)
{
    double sum = 0;
    for (int i = from; i < to; ++i) sum += At(y, i);
    return static_cast<float>(sum / (to - from));
}

// The least-squares line's rise over the span of the points.
float Drift(const Samples& y, int from, int to)
{
    const int count = to - from;
    const double centre = (count - 1) / 2.0;
    const double mean = Mean(y, from, to);
    double covariance = 0, variance = 0;
    for (int k = 0; k < count; ++k) {
        covariance += (k - centre) * (At(y, from + k) - mean);
        variance += (k - centre) * (k - centre);
    }
    return static_cast<float>(covariance / variance * (count - 1));
}

float Median(Samples values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

float NoiseDeviation(const Samples& y, int from, int to)
{
    Samples second;
    for (int i = from + 2; i < to; ++i) second.push_back(At(y, i) - 2 * At(y, i - 1) + At(y, i - 2));
    if (second.empty()) return 0;
    const float centre = Median(second);
    for (float& value : second) value = std::fabs(value - centre);
    return Median(second) * kMadToDeviation / kSecondDifferenceGain;
}

struct Swing {
    Oscillation oscillation;
    bool sustained = false;
};

// Where, between the points before `at`, the measurement last crossed `level`
// going the way it was going at `at`; a fractional point index. A point on the
// other side of the hysteresis came before, so the search stops there at the latest.
float Crossing(const Samples& y, int at, float level, bool upward)
{
    const auto beyond = [&](int i) { return upward ? At(y, i) > level : At(y, i) < level; };
    int k = at;
    while (beyond(k - 1)) --k;
    const float before = At(y, k - 1), after = At(y, k);
    return static_cast<float>(k - 1) + (level - before) / (after - before);
}

std::optional<Swing> FindSwing(const Samples& y, int from, int to, float hysteresis, float period)
{
    const float level = Mean(y, from, to);
    std::vector<float> ups;
    enum { Unknown, Low, High } side = Unknown;
    for (int i = from; i < to; ++i) {
        const float value = At(y, i);
        if (value < level - hysteresis) {
            side = Low;
        } else if (value > level + hysteresis) {
            if (side == Low) ups.push_back(Crossing(y, i, level, true));
            side = High;
        }
    }
    const int periods = static_cast<int>(ups.size()) - 1;
    if (periods < kMinPeriods) return std::nullopt;
    Swing swing;
    Oscillation& oscillation = swing.oscillation;
    oscillation.periods = periods;
    oscillation.period = (ups.back() - ups.front()) / static_cast<float>(periods) * period;
    const int first = static_cast<int>(std::ceil(ups.front())), last = static_cast<int>(std::ceil(ups.back()));
    oscillation.centre = Mean(y, first, last);
    std::vector<float> amplitudes;
    const auto pointAfter = [&](std::size_t up) { return y.begin() + static_cast<std::ptrdiff_t>(std::ceil(ups[up])); };
    for (std::size_t p = 0; p + 1 < ups.size(); ++p) {
        const auto [low, high] = std::minmax_element(pointAfter(p), pointAfter(p + 1));
        amplitudes.push_back((*high - *low) / 2);
    }
    double sum = 0;
    for (const float amplitude : amplitudes) sum += amplitude;
    oscillation.amplitude = static_cast<float>(sum / periods);
    const float shrink = std::pow(amplitudes.back() / amplitudes.front(), 1.0f / static_cast<float>(periods - 1));
    swing.sustained = shrink >= kSustained;
    return swing;
}

// When the measurement first made `fraction` of the change, in s from the step;
// a settled tail has made at least 95 % of it, so the search ends there at the latest.
float Reaches(const Samples& y, int step, float initial, float change, float fraction, float period)
{
    const auto share = [&](int i) { return (At(y, i) - initial) / change; };
    int i = step;
    while (share(i) < fraction) ++i;
    if (i == step) return 0;
    const float between = (fraction - share(i - 1)) / (share(i) - share(i - 1));
    return (static_cast<float>(i - 1 - step) + between) * period;
}

void SettledFigures(const Samples& y, int n, float period, StepFigures& figures)
{
    const int step = figures.stepIndex;
    const float final = *figures.final;
    const float change = final - figures.initial;
    figures.riseTime = Reaches(y, step, figures.initial, change, kRiseHigh, period) -
                       Reaches(y, step, figures.initial, change, kRiseLow, period);
    figures.timeConstant = Reaches(y, step, figures.initial, change, kTimeConstant, period);

    int lastOutside = n - 1;
    while (lastOutside >= step && std::fabs(At(y, lastOutside) - final) <= figures.band) --lastOutside;
    if (lastOutside < step) {
        figures.settlingIndex = step;
        figures.settlingTime = 0.0f;
    } else {
        // Out of the band at `lastOutside`, in for good from the next point: where it crossed the edge.
        const float outside = At(y, lastOutside), inside = At(y, lastOutside + 1);
        const float edge = outside > final ? final + figures.band : final - figures.band;
        figures.settlingIndex = lastOutside + 1;
        const float between = (edge - outside) / (inside - outside);
        figures.settlingTime = (static_cast<float>(lastOutside - step) + between) * period;
    }

    const float asked = figures.setpoint - figures.initial;
    const bool againstSetpoint = figures.reference == OvershootOf::SetpointStep;
    if (againstSetpoint && std::fabs(asked) <= kNoResponse) return;  // no step asked of the loop
    const float direction = (againstSetpoint ? asked : change) > 0 ? 1.0f : -1.0f;
    figures.peakIndex = step;
    for (int i = step; i < n; ++i)
        if (direction * (At(y, i) - At(y, figures.peakIndex)) > 0) figures.peakIndex = i;
    figures.peak = At(y, figures.peakIndex);
    const float target = againstSetpoint ? figures.setpoint : final;
    const float scale = againstSetpoint ? asked : change;
    figures.overshoot = std::max(0.0f, (figures.peak - target) / scale * 100);
}

}  // namespace

StepFigures AnalyseStep(const Samples& setpoint, const Samples& measure, float period, OvershootOf reference)
{
    StepFigures figures;
    figures.reference = reference;
    figures.samplePeriod = period;
    const int n = static_cast<int>(std::min(setpoint.size(), measure.size()));
    if (n < 1) return figures;
    const auto r = [&](int i) { return At(setpoint, i); };
    int step = 0;
    while (step < n && std::fabs(r(step) - r(0)) <= kSetpointMoved) ++step;
    if (step == n) step = 0;
    figures.stepIndex = step;
    figures.peakIndex = step;
    figures.initial = At(measure, step);
    figures.setpoint = r(n - 1);
    figures.last = At(measure, n - 1);
    for (int i = step; i < n; ++i)
        if (std::fabs(r(i) - figures.setpoint) > kSetpointMoved) {
            figures.verdict = StepVerdict::NotAStep;
            return figures;
        }
    const int after = n - step;
    if (after < 2 * kMinTailPoints) return figures;  // TooShort

    const int tail = std::max(kMinTailPoints, static_cast<int>(std::lround(kTailShare * static_cast<float>(after))));
    figures.tailPoints = tail;
    figures.tailSpan = static_cast<float>(tail - 1) * period;
    const float tailMean = Mean(measure, n - tail, n);
    figures.drift = Drift(measure, n - tail, n);
    const int half = n - after / 2;
    const float noise = NoiseDeviation(measure, half, n);
    float excursion = 0;
    for (int i = step; i < n; ++i) excursion = std::max(excursion, std::fabs(At(measure, i) - figures.initial));
    if (excursion <= std::max(kNoResponse, kNoResponseDeviations * noise)) {
        figures.verdict = StepVerdict::NoResponse;
        return figures;
    }

    const float change = tailMean - figures.initial;
    figures.band = kBand * std::fabs(change);
    const float maxDrift = kMaxDrift * std::fabs(change);
    const bool inBand = std::all_of(measure.begin() + (n - tail), measure.begin() + n,
                                    [&](float value) { return std::fabs(value - tailMean) <= figures.band; });
    if (inBand && std::fabs(figures.drift) <= maxDrift) {
        figures.verdict = StepVerdict::Settled;
        figures.final = tailMean;
        SettledFigures(measure, n, period, figures);
        return figures;
    }

    const float stepSize = std::max(std::fabs(figures.setpoint - figures.initial), std::fabs(change));
    const float hysteresis = std::max(kNoiseDeviations * noise, kMinHysteresis * stepSize);
    if (const auto swing = FindSwing(measure, half, n, hysteresis, period);
        swing && swing->oscillation.amplitude > figures.band) {
        figures.verdict = swing->sustained ? StepVerdict::Oscillating : StepVerdict::DyingOut;
        figures.oscillation = swing->oscillation;
    } else if (std::fabs(figures.drift) > maxDrift) {
        figures.verdict = figures.drift > 0 ? StepVerdict::Rising : StepVerdict::Falling;
    } else {
        figures.verdict = StepVerdict::Unsteady;
    }
    return figures;
}

}  // namespace banc
