#pragma once

#include <functional>

#include <Eigen/Core>

#include "engine/analysis/Identification.h"
#include "engine/analysis/StepRecord.h"

namespace banc::analysis {

// A model of the measurement at `t` s after the step, from its parameters
// `x`; it also gives its derivatives by the parameters in `gradient`.
using Gradient = Eigen::Ref<Eigen::RowVectorXd, 0, Eigen::InnerStride<>>;
using ResponseFunction = std::function<double(const Eigen::VectorXd& x, double t, Gradient gradient)>;

struct LeastSquaresFit {
    Eigen::VectorXd parameters;
    double rms = 0;        // in the measurement's unit
    double explained = 0;  // 1 - residual variance / measurement variance
    int iterations = 0;
    bool converged = false;  // stopped by a tolerance, not by the bound on evaluations
};

// Fits the model to every point of the record by Levenberg-Marquardt from
// `start`, the step at `stepTime` s. Bounded in evaluations: it always ends fast.
LeastSquaresFit FitLeastSquares(const ResponseFunction& response, const StepRecord& record, double stepTime,
                                Eigen::VectorXd start);

// The fit as reported, of `model` with the fitted parameters: the first of
// them is the rest level.
FitResult Reported(const LeastSquaresFit& fit, const ProcessModel& model);

}  // namespace banc::analysis
