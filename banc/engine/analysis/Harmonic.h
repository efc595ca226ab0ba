#pragma once

#include <complex>
#include <vector>

namespace banc::analysis {

// The fundamental of a record at a known frequency, fitted by least squares
// against its sine and cosine with a level and a trend line, so that neither
// an offset nor a slow drift leaks into it; what the fit leaves over is split
// between the harmonics (2 to kHarmonics, fitted in turn) and the noise.
struct HarmonicFit {
    // The fundamental as x(t) = Re(phasor e^(j 2 pi f t)), t as given: its
    // magnitude is the amplitude, its argument the phase at t = 0, so that fits
    // of parts of one record compare.
    std::complex<double> phasor;
    double offset = 0;          // the level at the middle of the record's span
    double slope = 0;           // the trend, per second
    double harmonicsRms = 0;    // of harmonics 2 to kHarmonics, beyond what the noise could make
    double noiseRms = 0;        // what is left once the harmonics are fitted too
    double amplitudeError = 0;  // the standard error of the amplitude the noise leaves
    int points = 0;

    double Amplitude() const { return std::abs(phasor); }
    // Harmonics and noise against the fundamental, both as RMS, %.
    double DistortionPct() const;
};

inline constexpr int kHarmonics = 5;

// `samples` taken at `times` (s, increasing; a gap left by a lost block does
// no harm); harmonics beyond `harmonics`, at or above half the mean sampling
// rate, or beyond what two points per parameter carry, are left out.
// Nothing is fitted (all zero) with fewer than two points per parameter, or
// for a fundamental at or above half the sampling rate.
HarmonicFit FitHarmonic(const std::vector<double>& times, const std::vector<double>& samples, double hz,
                        int harmonics = kHarmonics);

}  // namespace banc::analysis
