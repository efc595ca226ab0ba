#include "engine/analysis/SampledPlant.h"

#include <cmath>

namespace banc::analysis {
namespace {

constexpr double kWholeSample = 1e-9;  // a delay this close to whole periods is whole

int LagCount(const ProcessModel& model)
{
    switch (model.kind) {
    case ModelKind::FirstOrderDelay: return 1;
    case ModelKind::Strejc: return model.order < 1 ? 1 : model.order;
    case ModelKind::Integrating: return 0;
    }
    return 1;
}

}  // namespace

SampledPlant::SampledPlant(const ProcessModel& model, double period, double rest, double output)
    : m_model(model), m_integral(output)
{
    const double periods = model.delay > 0 ? model.delay / period : 0;
    m_wholeDelay = static_cast<int>(std::floor(periods + kWholeSample));
    double fraction = periods - m_wholeDelay;
    if (fraction < kWholeSample) fraction = 0;
    // Over a period the plant sees the command of m_wholeDelay + 1 samples ago
    // for the delay's fraction of it, then the one of m_wholeDelay samples ago.
    m_late = MakeStretch(fraction * period);
    m_early = MakeStretch((1 - fraction) * period);
    m_commands.assign(static_cast<std::size_t>(m_wholeDelay) + 2, rest);
    m_lags.assign(static_cast<std::size_t>(LagCount(model)), model.gain * rest);
}

SampledPlant::Stretch SampledPlant::MakeStretch(double length) const
{
    Stretch stretch;
    stretch.length = length;
    const int lags = LagCount(m_model);
    // A lag of no time constant follows its input at once.
    const double s = m_model.timeConstant > 0 ? length / m_model.timeConstant : INFINITY;
    double term = std::exp(-s);
    for (int m = 0; m < lags; ++m) {
        stretch.coefficients.push_back(std::isfinite(s) ? term : 0.0);
        term *= s / (m + 1);
    }
    return stretch;
}

void SampledPlant::Hold(const Stretch& stretch, double input)
{
    if (stretch.length <= 0) return;
    if (m_lags.empty()) {
        m_integral += m_model.gain * input * stretch.length;
        return;
    }
    // n equal lags in series: with z the deviations from the held input's
    // equilibrium, z_i(h) = Σ_m e^-s s^m / m! z_(i-m)(0). From the last lag
    // down, each reads only lags not yet moved.
    const double target = m_model.gain * input;
    const auto count = static_cast<int>(m_lags.size());
    for (int i = count - 1; i >= 0; --i) {
        double moved = 0;
        for (int m = 0; m <= i; ++m)
            moved +=
                stretch.coefficients[static_cast<std::size_t>(m)] * (m_lags[static_cast<std::size_t>(i - m)] - target);
        m_lags[static_cast<std::size_t>(i)] = target + moved;
    }
}

void SampledPlant::Advance(double command)
{
    m_commands.erase(m_commands.begin());
    m_commands.push_back(command);
    // Newest last: the command of m_wholeDelay samples ago, and the one before it.
    const std::size_t last = m_commands.size() - 1;
    Hold(m_late, m_commands[last - static_cast<std::size_t>(m_wholeDelay) - 1]);
    Hold(m_early, m_commands[last - static_cast<std::size_t>(m_wholeDelay)]);
}

}  // namespace banc::analysis
