#include "engine/analysis/ProcessModel.h"

#include <cmath>

namespace banc::analysis {

double ProcessModel::StepResponse(double t, double step) const
{
    const double s = t - delay;
    if (s <= 0) return 0;
    switch (kind) {
    case ModelKind::Integrating: return gain * step * s;
    case ModelKind::FirstOrderDelay: return gain * step * -std::expm1(-s / timeConstant);
    case ModelKind::Strejc: {
        // 1 - e^-x (1 + x + x²/2! + ... + x^(n-1)/(n-1)!), x = s / τ
        const double x = s / timeConstant;
        double term = 1, sum = 1;
        for (int k = 1; k < order; ++k) {
            term *= x / k;
            sum += term;
        }
        return gain * step * (1 - std::exp(-x) * sum);
    }
    }
    return 0;
}

}  // namespace banc::analysis
