#pragma once

#include <vector>

namespace banc::analysis {

// The measurement smoothed by a least-squares cubic over the points within
// `halfWidth` of each one: its value and its slope (unit per s) at every point.
// A cubic follows a step response's bend and inflection without bias where a
// moving average would flatten them, and its slope is that of the curve, not
// a difference of two noisy points.
struct SmoothedCurve {
    std::vector<double> value;
    std::vector<double> slope;
};
SmoothedCurve SmoothLocally(const std::vector<double>& y, double period, int halfWidth);

// The standard deviation of those slopes (away from the record's ends) per
// unit of the measurement's noise: how wide a window a noisy curve needs.
double SlopeNoise(double period, int halfWidth);

}  // namespace banc::analysis
