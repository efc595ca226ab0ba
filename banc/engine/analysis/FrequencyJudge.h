#pragma once

#include <complex>
#include <vector>

#include "engine/analysis/FrequencyResponse.h"
#include "engine/analysis/Harmonic.h"

namespace banc::analysis {

// What is recorded of one frequency of a sweep: the command (%) and the
// measurement (its unit) at their times (s, increasing).
struct SweepSamples {
    std::vector<double> times, command, measure;
};

// How long a frequency is watched and when its point is trusted.
struct JudgeOptions {
    double agreement = 0.005;      // two periods agree within this share of the fundamental...
    double agreementNoise = 3;     // ...or this many of their standard errors
    int longestTransient = 10;     // periods waited at most before measuring anyway
    int fewestMeasured = 1;        // whole periods measured at least
    double targetError = 0.01;     // measured on while the gain's standard error is above this share...
    int longestMeasured = 200;     // ...for this many periods at most
    int mostPoints = 65536;        // ...or this many points
    double largestDistortion = 5;  // % of harmonics beyond which the point is not trusted
    double largestError = 0.05;    // share of standard error beyond which it is not trusted
};

// Judges the record of one frequency as it grows: the transient is over at
// the first period whose fundamental agrees with the one before it (or after
// `longestTransient` periods); whole periods from there are then measured,
// more while the noise leaves the gain uncertain. The process's transfer is
// the measurement's fundamental over the command's, the command taken as the
// card holds it between its samples (every `holdPeriod` s), not as sampled.
class FrequencyJudge {
public:
    FrequencyJudge(double hz, double holdPeriod, JudgeOptions options = {});

    // True once the point is measured; call again as the record grows.
    bool Judge(const SweepSamples& samples);

    // Phase within (-180, 180]; distortion and trust as the fit left them.
    const BodePoint& Point() const { return m_point; }
    const HarmonicFit& MeasureFit() const { return m_measureFit; }
    int TransientPeriods() const { return m_transient; }
    int MeasuredPeriods() const { return m_measured; }

private:
    // Whole periods in the record from its first point.
    int WholePeriods(const SweepSamples& samples) const;
    // Over periods `from` to `to` (excluded), with harmonics up to `harmonics`.
    HarmonicFit Fit(const SweepSamples& samples, const std::vector<double>& values, int from, int to,
                    int harmonics) const;
    bool Agree(const HarmonicFit& a, const HarmonicFit& b) const;
    void Measure(const SweepSamples& samples, int periods);

    double m_hz;
    double m_period;
    std::complex<double> m_hold;
    JudgeOptions m_options;
    int m_judgedPeriods = 0;
    int m_agreedUpTo = 1;  // the next period compared with the one before it
    int m_transient = -1;  // the first period measured, once known
    int m_measured = 0;
    int m_nextCheck = 0;  // whole periods at which the measure is fitted again
    BodePoint m_point;
    HarmonicFit m_measureFit;
};

}  // namespace banc::analysis
