#include "engine/analysis/LeastSquares.h"

#include <cmath>

#include <unsupported/Eigen/NonLinearOptimization>

namespace banc::analysis {
namespace {

// A good start converges in a handful of iterations; a fit that has not
// after this many evaluations of the residuals is reported as such, never
// left running.
constexpr int kMaxEvaluations = 200;

// The record's residuals as Eigen's Levenberg-Marquardt asks for them.
class Residuals {
public:
    using Scalar = double;
    using InputType = Eigen::VectorXd;
    using ValueType = Eigen::VectorXd;
    using JacobianType = Eigen::MatrixXd;

    Residuals(const ResponseFunction& response, const StepRecord& record, const FitSpan& span, int parameters)
        : m_response(response), m_record(record), m_span(span), m_parameters(parameters)
    {
    }

    int inputs() const { return m_parameters; }
    int values() const { return static_cast<int>(m_record.measure.size()) - m_span.from; }

    int operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) const
    {
        Eigen::RowVectorXd gradient(m_parameters);
        for (int i = 0; i < values(); ++i) residuals[i] = m_span.rest + m_response(x, Time(i), gradient) - Measure(i);
        return 0;
    }

    int df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) const
    {
        for (int i = 0; i < values(); ++i) m_response(x, Time(i), jacobian.row(i));
        return 0;
    }

private:
    double Time(int i) const { return (m_span.from + i) * m_record.period - m_span.origin; }
    double Measure(int i) const { return m_record.measure[static_cast<std::size_t>(m_span.from + i)]; }

    const ResponseFunction& m_response;
    const StepRecord& m_record;
    FitSpan m_span;
    int m_parameters;
};

bool StoppedByTolerance(Eigen::LevenbergMarquardtSpace::Status status)
{
    using namespace Eigen::LevenbergMarquardtSpace;
    switch (status) {
    case RelativeReductionTooSmall:
    case RelativeErrorTooSmall:
    case RelativeErrorAndReductionTooSmall:
    case CosinusTooSmall:
    case FtolTooSmall:
    case XtolTooSmall:
    case GtolTooSmall: return true;
    default: return false;
    }
}

double Variance(const Eigen::VectorXd& values) { return (values.array() - values.mean()).square().mean(); }

}  // namespace

FitSpan WholeResponse(const StepAnalysed& step) { return {0, step.stepTime, step.measureBefore}; }

LeastSquaresFit FitLeastSquares(const ResponseFunction& response, const StepRecord& record, const FitSpan& span,
                                Eigen::VectorXd start)
{
    Residuals residuals(response, record, span, static_cast<int>(start.size()));
    Eigen::LevenbergMarquardt<Residuals> optimiser(residuals);
    optimiser.parameters.maxfev = kMaxEvaluations;
    const auto status = optimiser.minimize(start);

    LeastSquaresFit fit;
    fit.parameters = start;
    fit.iterations = static_cast<int>(optimiser.iter);
    fit.converged = StoppedByTolerance(status);
    Eigen::VectorXd left(residuals.values());
    residuals(start, left);
    fit.rms = std::sqrt(left.squaredNorm() / static_cast<double>(left.size()));
    const Eigen::VectorXd measure = Eigen::Map<const Eigen::VectorXd>(record.measure.data() + span.from, left.size());
    const double spread = Variance(measure);
    fit.explained = spread > 0 ? 1 - Variance(left) / spread : 0;
    return fit;
}

FitResult Reported(const LeastSquaresFit& fit, const ProcessModel& model)
{
    FitResult result;
    result.model = model;
    result.rms = fit.rms;
    result.explained = fit.explained;
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    return result;
}

}  // namespace banc::analysis
