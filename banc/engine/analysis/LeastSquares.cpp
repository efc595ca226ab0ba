#include "engine/analysis/LeastSquares.h"

#include <cmath>

#include <unsupported/Eigen/NonLinearOptimization>

namespace banc::analysis {
namespace {

// Some fifty iterations at most: a good start converges in a handful, and a
// fit that does not is reported as such, never left running.
constexpr int kMaxEvaluations = 200;

// The record's residuals as Eigen's Levenberg-Marquardt asks for them.
class Residuals {
public:
    using Scalar = double;
    using InputType = Eigen::VectorXd;
    using ValueType = Eigen::VectorXd;
    using JacobianType = Eigen::MatrixXd;

    Residuals(const ResponseFunction& response, const StepRecord& record, double stepTime, int parameters)
        : m_response(response), m_record(record), m_stepTime(stepTime), m_parameters(parameters)
    {
    }

    int inputs() const { return m_parameters; }
    int values() const { return static_cast<int>(m_record.measure.size()); }

    int operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) const
    {
        Eigen::RowVectorXd gradient(m_parameters);
        for (int i = 0; i < values(); ++i)
            residuals[i] = m_response(x, Time(i), gradient) - m_record.measure[static_cast<std::size_t>(i)];
        return 0;
    }

    int df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) const
    {
        for (int i = 0; i < values(); ++i) m_response(x, Time(i), jacobian.row(i));
        return 0;
    }

private:
    double Time(int i) const { return i * m_record.period - m_stepTime; }

    const ResponseFunction& m_response;
    const StepRecord& m_record;
    double m_stepTime;
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

double Variance(const Eigen::VectorXd& values)
{
    return (values.array() - values.mean()).square().mean();
}

}  // namespace

LeastSquaresFit FitLeastSquares(const ResponseFunction& response, const StepRecord& record, double stepTime,
                                Eigen::VectorXd start)
{
    Residuals residuals(response, record, stepTime, static_cast<int>(start.size()));
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
    const Eigen::VectorXd measure = Eigen::Map<const Eigen::VectorXd>(record.measure.data(), left.size());
    const double spread = Variance(measure);
    fit.explained = spread > 0 ? 1 - Variance(left) / spread : 0;
    return fit;
}

FitResult Reported(const LeastSquaresFit& fit, const ProcessModel& model)
{
    FitResult result;
    result.model = model;
    result.rest = fit.parameters[0];
    result.rms = fit.rms;
    result.explained = fit.explained;
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    return result;
}

}  // namespace banc::analysis
