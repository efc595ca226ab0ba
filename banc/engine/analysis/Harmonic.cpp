#include "engine/analysis/Harmonic.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <Eigen/Dense>

namespace banc::analysis {
namespace {

// The level, the trend, then a cosine and a sine per harmonic.
constexpr int kLevelColumns = 2;
constexpr int kPointsPerParameter = 2;
constexpr double kNoiseShares = 6;

}  // namespace

double HarmonicFit::DistortionPct() const
{
    const double fundamentalRms = Amplitude() / std::numbers::sqrt2;
    if (fundamentalRms <= 0) return 0;
    return std::hypot(harmonicsRms, noiseRms) / fundamentalRms * 100;
}

HarmonicFit FitHarmonic(const std::vector<double>& times, const std::vector<double>& samples, double hz, int harmonics)
{
    HarmonicFit fit;
    const int n = static_cast<int>(std::min(times.size(), samples.size()));
    if (n < 2 || !(hz > 0)) return fit;
    const double span = times[n - 1] - times[0];
    const double nyquist = (n - 1) / span / 2;
    if (!(span > 0) || hz >= nyquist) return fit;
    // As many harmonics as asked, below half the sampling rate, that the points can carry.
    const int wanted = harmonics;
    const auto columnsFor = [](int h) { return kLevelColumns + 2 * h; };
    harmonics = 1;
    while (harmonics < wanted && (harmonics + 1) * hz < nyquist && n >= kPointsPerParameter * columnsFor(harmonics + 1))
        ++harmonics;
    const int columns = columnsFor(harmonics);
    if (n < kPointsPerParameter * columns) return fit;

    const double middle = (times[0] + times[n - 1]) / 2;
    const double omega = 2 * std::numbers::pi * hz;
    Eigen::MatrixXd design(n, columns);
    Eigen::VectorXd values(n);
    for (int i = 0; i < n; ++i) {
        const double t = times[i];
        design(i, 0) = 1;
        design(i, 1) = times[i] - middle;
        for (int h = 1; h <= harmonics; ++h) {
            design(i, kLevelColumns + 2 * (h - 1)) = std::cos(h * omega * t);
            design(i, kLevelColumns + 2 * (h - 1) + 1) = std::sin(h * omega * t);
        }
        values(i) = samples[i];
    }
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(design);
    const Eigen::VectorXd x = qr.solve(values);
    const double residual = (design * x - values).squaredNorm();
    const int freedom = n - columns;

    // x(t) = a cos + b sin = Re((a - j b) e^(j w t)).
    fit.phasor = {x(kLevelColumns), -x(kLevelColumns + 1)};
    fit.offset = x(0);
    fit.slope = x(1);
    fit.noiseRms = std::sqrt(residual / freedom);
    // The covariance of the terms, sigma^2 (X'X)^-1: each harmonic's power
    // estimate holds the noise's share of it, whose chance of passing six
    // times its mean is e^-6; only what stands above that counts, so that a
    // noisy record does not read as a distorted one.
    const Eigen::MatrixXd inverse = (design.transpose() * design).inverse();
    const double noisePower = fit.noiseRms * fit.noiseRms;
    double harmonicPower = 0;
    for (int h = 2; h <= harmonics; ++h) {
        const int c = kLevelColumns + 2 * (h - 1);
        const double power = (x(c) * x(c) + x(c + 1) * x(c + 1)) / 2;
        harmonicPower += std::max(0.0, power - kNoiseShares * noisePower * (inverse(c, c) + inverse(c + 1, c + 1)) / 2);
    }
    fit.harmonicsRms = std::sqrt(harmonicPower);
    const double a = x(kLevelColumns), b = x(kLevelColumns + 1);
    const double amplitude = std::hypot(a, b);
    const double varianceA = inverse(kLevelColumns, kLevelColumns),
                 varianceB = inverse(kLevelColumns + 1, kLevelColumns + 1);
    const double variance =
        amplitude > 0 ? (a * a * varianceA + b * b * varianceB) / (amplitude * amplitude) : (varianceA + varianceB) / 2;
    fit.amplitudeError = fit.noiseRms * std::sqrt(variance);
    fit.points = n;
    return fit;
}

}  // namespace banc::analysis
