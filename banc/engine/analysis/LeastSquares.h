#pragma once

#include <functional>

#include <Eigen/Core>

#include "engine/analysis/Identification.h"
#include "engine/analysis/StepRecord.h"

namespace banc::analysis {

// A model of the measurement's change from a rest level at `t` s after an
// origin, from its parameters `x`; it also gives its derivatives by them in `gradient`.
using Gradient = Eigen::Ref<Eigen::RowVectorXd, 0, Eigen::InnerStride<>>;
using ResponseFunction = std::function<double(const Eigen::VectorXd& x, double t, Gradient gradient)>;

struct LeastSquaresFit {
    Eigen::VectorXd parameters;
    double rms = 0;        // in the measurement's unit
    double explained = 0;  // 1 - residual variance / measurement variance
    int iterations = 0;
    bool converged = false;  // stopped by a tolerance, not by the bound on evaluations
};

// The points a model is fitted to: from `from` to the record's end.
struct FitSpan {
    int from = 0;
    double origin = 0;  // s from the record's first point: the model's t = 0
    double rest = 0;    // the level the model's change is added to
};
// A step response: every point, from the step, on the rest level (the mean
// before it, as the lessons take it: a rest fitted too would bend to a model
// that does not quite fit, an S-shaped response's slow start).
FitSpan WholeResponse(const StepAnalysed& step);

// Fits the model to the span's points by Levenberg-Marquardt from `start`.
// Bounded in evaluations: it always ends fast.
LeastSquaresFit FitLeastSquares(const ResponseFunction& response, const StepRecord& record, const FitSpan& span,
                                Eigen::VectorXd start);

// The fit as reported, of `model` with the fitted parameters.
FitResult Reported(const LeastSquaresFit& fit, const ProcessModel& model);

}  // namespace banc::analysis
