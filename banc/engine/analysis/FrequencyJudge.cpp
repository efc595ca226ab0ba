#include "engine/analysis/FrequencyJudge.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "engine/analysis/BodeModel.h"

namespace banc::analysis {
namespace {

// Two periods are compared on their fundamental alone: a fit with harmonics
// would need more points than a fast period has.
constexpr int kFundamentalOnly = 1;
// Measured on by a quarter of the periods at least, so that the fits stay few.
constexpr double kLeastGrowth = 1.25;

std::string Percent(const char* format, double value)
{
    char text[80];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

FrequencyJudge::FrequencyJudge(double hz, double holdPeriod, JudgeOptions options)
    : m_hz(hz), m_period(1 / hz), m_options(options)
{
    const double omegaT = 2 * std::numbers::pi * hz * holdPeriod;
    m_hold = omegaT > 0 ? (1.0 - std::exp(std::complex<double>(0, -omegaT))) / std::complex<double>(0, omegaT)
                        : std::complex<double>(1);
    m_point.frequencyHz = hz;
}

int FrequencyJudge::WholePeriods(const SweepSamples& samples) const
{
    const std::size_t n = samples.times.size();
    if (n < 2) return 0;
    const double span = samples.times.back() - samples.times.front();
    // The last point stands for its whole sampling interval.
    const double step = span / static_cast<double>(n - 1);
    return static_cast<int>(std::floor((span + step) / m_period + 1e-9));
}

HarmonicFit FrequencyJudge::Fit(const SweepSamples& samples, const std::vector<double>& values, int from, int to,
                                int harmonics) const
{
    const double start = samples.times.front() + from * m_period - 1e-9 * m_period;
    const double end = samples.times.front() + to * m_period - 1e-9 * m_period;
    const auto first = std::lower_bound(samples.times.begin(), samples.times.end(), start);
    const auto last = std::lower_bound(samples.times.begin(), samples.times.end(), end);
    const auto offset = [&](auto it) { return it - samples.times.begin(); };
    const std::vector<double> times(first, last);
    const std::vector<double> part(values.begin() + offset(first), values.begin() + offset(last));
    return FitHarmonic(times, part, m_hz, harmonics);
}

bool FrequencyJudge::Agree(const HarmonicFit& a, const HarmonicFit& b) const
{
    if (a.points == 0 || b.points == 0) return false;
    const double difference = std::abs(a.phasor - b.phasor);
    const double noise = m_options.agreementNoise * std::hypot(a.amplitudeError, b.amplitudeError);
    return difference <= std::max(m_options.agreement * b.Amplitude(), noise);
}

bool FrequencyJudge::Judge(const SweepSamples& samples)
{
    const int whole = WholePeriods(samples);
    if (whole == m_judgedPeriods) return false;
    m_judgedPeriods = whole;
    if (m_transient < 0) {
        for (; m_agreedUpTo < whole && m_transient < 0; ++m_agreedUpTo) {
            const int j = m_agreedUpTo;
            if (Agree(Fit(samples, samples.measure, j - 1, j, kFundamentalOnly),
                      Fit(samples, samples.measure, j, j + 1, kFundamentalOnly)))
                m_transient = j;
        }
        if (m_transient < 0 && whole > m_options.longestTransient) m_transient = m_options.longestTransient;
        if (m_transient < 0) return false;
        m_nextCheck = m_transient + m_options.fewestMeasured;
    }
    if (whole < m_nextCheck) return false;
    Measure(samples, whole - m_transient);
    // Too few points for a fit: a period more, as long as the measure may last.
    if (m_measureFit.points == 0 && m_measured < m_options.longestMeasured) {
        m_nextCheck = whole + 1;
        return false;
    }
    const double error = m_point.gain > 0 ? m_measureFit.amplitudeError / m_measureFit.Amplitude() : 0;
    if (error <= m_options.targetError || m_measured >= m_options.longestMeasured ||
        m_measureFit.points >= m_options.mostPoints)
        return true;
    // As many periods as the noise asks for, the standard error falling as their square root.
    const double asked = std::ceil(m_measured * std::pow(error / m_options.targetError, 2));
    const double grown = std::ceil(m_measured * kLeastGrowth);
    m_nextCheck = m_transient + static_cast<int>(std::min<double>(m_options.longestMeasured, std::max(asked, grown)));
    return false;
}

void FrequencyJudge::Measure(const SweepSamples& samples, int periods)
{
    m_measured = periods;
    const int to = m_transient + periods;
    m_measureFit = Fit(samples, samples.measure, m_transient, to, kHarmonics);
    const HarmonicFit command = Fit(samples, samples.command, m_transient, to, kHarmonics);
    m_point = BodePoint{};
    m_point.frequencyHz = m_hz;
    if (m_measureFit.points == 0 || !(command.Amplitude() > 0)) {
        m_point.trusted = false;
        m_point.flag = "pas de sinus mesurable";
        return;
    }
    // The process sees the command held between the card's samples.
    m_point = PointOf(m_hz, m_measureFit.phasor / (command.phasor * m_hold));
    m_point.distortionPct = m_measureFit.DistortionPct();
    const double harmonicsPct = m_measureFit.harmonicsRms / (m_measureFit.Amplitude() / std::numbers::sqrt2) * 100;
    const double error = m_measureFit.amplitudeError / m_measureFit.Amplitude();
    // Drowned in noise, the harmonics are no better known than the fundamental.
    if (error > m_options.largestError) {
        m_point.trusted = false;
        m_point.flag = Percent("bruit : gain connu \xE0 %.0f %% pr\xE8s", error * 100);
    } else if (harmonicsPct > m_options.largestDistortion) {
        m_point.trusted = false;
        m_point.flag = Percent("distorsion harmonique de %.0f %%", harmonicsPct);
    }
}

}  // namespace banc::analysis
