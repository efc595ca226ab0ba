#include "engine/analysis/ResponseReading.h"

#include <algorithm>
#include <cmath>

namespace banc::analysis {
namespace {

// The smoothing's window for the levels: 30 % of the time from 28 % to 63 %
// of the change, the response's own scale of curvature (two thirds of a
// first order's time constant, whatever its delay). The window then never
// reaches back over the start of a first order from its 28 % point, and
// averages some ten points or more on any record that shows the response's
// shape. Read first on a narrow window, then twice again on the window the
// reading gives.
//
// A slope is noisier than a level: its window is widened until the slope's
// noise falls to 2 % of the mean slope from 28 % to 63 % (some 3 % of a
// first order's steepest), as one draws a tangent by eye through the noise,
// up to 1.5 times that span. Without noise it stays the levels' window, which
// reads the tangent of n lags to a few tenths of a percent.
constexpr int kNarrowHalfWidth = 2;
constexpr double kWindowShare = 0.3;
constexpr int kWindowPasses = 2;
constexpr double kLow = 0.28, kHigh = 0.632;
constexpr double kSlopePrecision = 0.02;
constexpr double kWidestSlopeShare = 1.5;

}  // namespace

ResponseReading::ResponseReading(const StepRecord& record, const StepAnalysed& step)
    : m_step(step), m_period(record.period)
{
    m_curve = SmoothLocally(record.measure, m_period, kNarrowHalfWidth);
    m_slope = m_curve.slope;
    const int after = static_cast<int>(record.measure.size()) - step.stepIndex;
    const auto halfWidth = [&](double share, double span) {
        const int points = static_cast<int>(std::lround(share * span / m_period));
        return std::clamp(points, kNarrowHalfWidth, std::max(kNarrowHalfWidth, after / 4));
    };
    for (int pass = 0; pass < kWindowPasses; ++pass) {
        const std::optional<double> low = TimeAt(kLow), high = TimeAt(kHigh);
        if (!low || !high) return;
        m_curve = SmoothLocally(record.measure, m_period, halfWidth(kWindowShare, *high - *low));
    }
    const std::optional<double> low = TimeAt(kLow), high = TimeAt(kHigh);
    if (!low || !high) return;
    const double span = *high - *low;
    const double precision = kSlopePrecision * std::abs(step.measureFinal - step.measureBefore) / span;
    int slopeWidth = halfWidth(kWindowShare, span);
    while (slopeWidth < halfWidth(kWidestSlopeShare, span) && step.noise * SlopeNoise(m_period, slopeWidth) > precision)
        ++slopeWidth;
    m_slope = slopeWidth == halfWidth(kWindowShare, span) ? m_curve.slope
                                                          : SmoothLocally(record.measure, m_period, slopeWidth).slope;
}

double ResponseReading::LevelAt(double fraction) const
{
    return m_step.measureBefore + fraction * (m_step.measureFinal - m_step.measureBefore);
}

std::optional<double> ResponseReading::TimeAt(double fraction) const
{
    const double change = m_step.measureFinal - m_step.measureBefore;
    const auto progress = [&](int i) {
        return (m_curve.value[static_cast<std::size_t>(i)] - m_step.measureBefore) / change;
    };
    const int count = static_cast<int>(m_curve.value.size());
    for (int i = std::max(m_step.stepIndex, 1); i < count; ++i) {
        if (progress(i) < fraction) continue;
        const double previous = progress(i - 1), reached = progress(i);
        const double share = reached > previous ? (fraction - previous) / (reached - previous) : 1;
        return (i - 1 + std::clamp(share, 0.0, 1.0)) * m_period;
    }
    return std::nullopt;
}

std::optional<CurvePoint> ResponseReading::PointAt(double fraction) const
{
    const std::optional<double> t = TimeAt(fraction);
    if (!t) return std::nullopt;
    return CurvePoint{*t, LevelAt(fraction)};
}

Inflection ResponseReading::Steepest() const
{
    // Up to the 63.2 % crossing: every inflection of Strejc's table lies below
    // it (at 38 % for n = 6), and further on noise alone would make the steepest point.
    const double direction = m_step.measureFinal >= m_step.measureBefore ? 1 : -1;
    const std::optional<double> end = TimeAt(kHigh);
    const int last = end ? static_cast<int>(std::ceil(*end / m_period)) : static_cast<int>(m_slope.size()) - 1;
    int steepest = m_step.stepIndex;
    for (int i = m_step.stepIndex; i <= last; ++i)
        if (direction * m_slope[static_cast<std::size_t>(i)] > direction * m_slope[static_cast<std::size_t>(steepest)])
            steepest = i;
    const auto at = static_cast<std::size_t>(steepest);
    return {{steepest * m_period, m_curve.value[at]}, m_slope[at]};
}

}  // namespace banc::analysis
