#pragma once

#include <vector>

namespace banc::analysis {

// Small statistics on a span [from, to) of evenly sampled points.
double MeanOf(const std::vector<double>& y, int from, int to);
inline double MeanOf(const std::vector<double>& y) { return MeanOf(y, 0, static_cast<int>(y.size())); }
double DeviationOf(const std::vector<double>& y, int from, int to);  // the sample standard deviation

// The least-squares line through the points (index i at time i × period).
struct Line {
    double slope = 0;  // unit per s
    double at = 0;     // the line's value at `time`
    double time = 0;   // s: the span's middle
    double ValueAt(double t) const { return at + slope * (t - time); }
};
Line LineOf(const std::vector<double>& y, int from, int to, double period);

// The noise's standard deviation from the second differences (their median
// absolute deviation): a smooth response hardly moves them, so that a record
// with no rest still tells its noise.
double NoiseFromDifferences(const std::vector<double>& y, int from, int to);

}  // namespace banc::analysis
