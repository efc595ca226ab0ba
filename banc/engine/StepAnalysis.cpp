#include "engine/StepAnalysis.h"

#include <tarvic/recording/Enregistrement.h>

#include <algorithm>
#include <cmath>

namespace banc {
namespace {

constexpr float kSetpointMoved = 0.01f;     // a change of the setpoint smaller than this is none
constexpr float kNoResponse = 1e-3f;        // nor is one of the measurement
constexpr float kRiseLow = 0.1f, kRiseHigh = 0.9f;
constexpr float kSettlingBand = 0.05f;
constexpr float kTimeConstant = 0.632f;  // 1 - 1/e
constexpr int kSettlingSearch = 0, kPeakSearch = 1;  // RechercheRang modes

int StepIndex(const CEnregistrement& recording, const Curve& setpoint, int points)
{
    const float before = setpoint.Value(recording, 0);
    for (int i = 1; i < points; ++i)
        if (std::fabs(setpoint.Value(recording, i) - before) > kSetpointMoved) return i;
    return 0;
}

// The first point from `from` on where the measurement has made `fraction` of the change.
std::optional<int> Reaches(const CEnregistrement& recording, const Curve& measure, int from, int points, float initial,
                           float change, float fraction)
{
    for (int i = from; i < points; ++i)
        if ((measure.Value(recording, i) - initial) / change >= fraction) return i;
    return std::nullopt;
}

int Extreme(const CEnregistrement& recording, const Curve& measure, int from, int points, bool rising)
{
    if (rising) return recording.RechercheRang(kPeakSearch, measure.code, points - 1, from, 0);
    // The recording's peak search finds maxima only.
    int lowest = from;
    for (int i = from; i < points; ++i)
        if (measure.Value(recording, i) < measure.Value(recording, lowest)) lowest = i;
    return lowest;
}

}  // namespace

StepResponse AnalyseStep(const CEnregistrement& recording, const Curve& setpoint, const Curve& measure, int points,
                         float periodSeconds)
{
    StepResponse response;
    if (points < 2) return response;
    const int step = StepIndex(recording, setpoint, points);
    response.stepIndex = step;
    response.peakIndex = step;
    response.initial = measure.Value(recording, step);
    response.final = measure.Value(recording, points - 1);
    response.setpoint = setpoint.Value(recording, points - 1);
    const float change = response.final - response.initial;
    response.hasStep = std::fabs(change) > kNoResponse;
    if (!response.hasStep) return response;

    const bool rising = change > 0;
    response.peakIndex = Extreme(recording, measure, step, points, rising);
    // Past the final value in the direction of the change, as a share of it.
    const float beyond = (measure.Value(recording, response.peakIndex) - response.final) / change;
    response.overshoot = std::max(0.0f, beyond * 100);
    const auto low = Reaches(recording, measure, step, points, response.initial, change, kRiseLow);
    const auto high = Reaches(recording, measure, step, points, response.initial, change, kRiseHigh);
    if (low && high) response.riseTime = (*high - *low) * periodSeconds;
    if (const auto tau = Reaches(recording, measure, step, points, response.initial, change, kTimeConstant))
        response.timeConstant = (*tau - step) * periodSeconds;
    // The band in the recording's own values, which the curve may scale.
    const float band = kSettlingBand * std::fabs(change) / std::fabs(measure.scale);
    response.band = kSettlingBand * std::fabs(change);
    const int lastOutside = recording.RechercheRang(kSettlingSearch, measure.code, points - 1, step, band);
    if (lastOutside < points - 1) {
        response.settlingIndex = lastOutside + 1;
        response.settlingTime = (lastOutside + 1 - step) * periodSeconds;
    }
    return response;
}

}  // namespace banc
