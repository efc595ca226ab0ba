#pragma once

#include <optional>

#include "engine/analysis/Identification.h"
#include "engine/analysis/LocalPolynomial.h"
#include "engine/analysis/StepRecord.h"

namespace banc::analysis {

// The tangent at the inflection: the steepest point of the response.
struct Inflection {
    CurvePoint point;  // t from the record's first point
    double slope = 0;  // unit per s
};

// A settled step response read as a student reads it off the plotted curve,
// with noise smoothed away: the times at which it crosses a fraction of its
// change, its steepest point.
class ResponseReading {
public:
    ResponseReading(const StepRecord& record, const StepAnalysed& step);

    // The first time (s from the record's first point) at which the response
    // crosses `fraction` of its change from rest to final level, between two
    // points linearly; nothing when it never does.
    std::optional<double> TimeAt(double fraction) const;
    // The point of the curve at that time, at that fraction's level.
    std::optional<CurvePoint> PointAt(double fraction) const;
    Inflection Steepest() const;

    double LevelAt(double fraction) const;

private:
    const StepAnalysed m_step;
    double m_period;
    SmoothedCurve m_curve;        // for the levels
    std::vector<double> m_slope;  // smoothed wider: a slope is noisier than a level
};

}  // namespace banc::analysis
