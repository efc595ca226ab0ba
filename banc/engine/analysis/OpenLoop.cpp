#include "engine/analysis/OpenLoop.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "engine/analysis/BodeModel.h"

namespace banc::analysis {
namespace {

constexpr double kCrossoverPhase = -180;

struct Crossing {
    double hz;
    double gainDb;
    double phaseDeg;
};

// Where `level(point)` first goes from above `threshold` to at or below it,
// the points read linearly against the logarithm of the frequency.
template <typename Level>
std::optional<Crossing> FirstCrossing(const std::vector<BodePoint>& points, double threshold, Level level)
{
    for (std::size_t i = 1; i < points.size(); ++i) {
        const BodePoint& a = points[i - 1];
        const BodePoint& b = points[i];
        const double la = level(a), lb = level(b);
        if (!(la > threshold && lb <= threshold)) continue;
        const double share = (la - threshold) / (la - lb);
        const double logHz = std::log(a.frequencyHz) + share * (std::log(b.frequencyHz) - std::log(a.frequencyHz));
        return Crossing{std::exp(logHz), a.gainDb + share * (b.gainDb - a.gainDb),
                        a.phaseDeg + share * (b.phaseDeg - a.phaseDeg)};
    }
    return std::nullopt;
}

}  // namespace

std::complex<double> CardPidResponse(const CardPid& pid, const LoopScale& scale, double hz)
{
    const double omegaT = 2 * std::numbers::pi * hz * pid.period;
    const std::complex<double> delay = std::exp(std::complex<double>(0, -omegaT));  // z^-1
    std::complex<double> law = 0;
    if (pid.proportionalAction) law += pid.k1;
    // The integral adds each sample's term, this one's included.
    if (pid.integralAction) law += pid.integral / (1.0 - delay);
    if (pid.derivativeAction) law += pid.derivative * (1.0 - delay) / (1.0 - pid.pole * delay);
    // The command held a whole period: (1 - e^-sT) / sT.
    const std::complex<double> hold =
        omegaT > 0 ? (1.0 - delay) / std::complex<double>(0, omegaT) : std::complex<double>(1);
    return pid.k2 * law * hold * (scale.commandPerLoopUnit / scale.measurePerLoopUnit);
}

std::vector<BodePoint> OpenLoop(const std::vector<BodePoint>& process,
                                const std::function<std::complex<double>(double hz)>& controller)
{
    std::vector<BodePoint> loop;
    for (const BodePoint& point : process) {
        const std::complex<double> c = controller(point.frequencyHz);
        BodePoint product = point;
        product.gain = point.gain * std::abs(c);
        product.gainDb = 20 * std::log10(product.gain);
        product.phaseDeg = point.phaseDeg + std::arg(c) * 180 / std::numbers::pi;
        loop.push_back(product);
    }
    // The controller's phase is read within a turn: the loop's is made continuous again.
    for (std::size_t i = 1; i < loop.size(); ++i)
        loop[i].phaseDeg += 360 * std::round((loop[i - 1].phaseDeg - loop[i].phaseDeg) / 360);
    return loop;
}

LoopMargins MarginsOf(const std::vector<BodePoint>& openLoop)
{
    std::vector<BodePoint> trusted;
    for (const BodePoint& point : openLoop)
        if (point.trusted) trusted.push_back(point);
    LoopMargins margins;
    if (const auto gain = FirstCrossing(trusted, 0, [](const BodePoint& p) { return p.gainDb; })) {
        margins.gainCrossoverHz = gain->hz;
        margins.phaseDeg = gain->phaseDeg - kCrossoverPhase;
    }
    if (const auto phase = FirstCrossing(trusted, kCrossoverPhase, [](const BodePoint& p) { return p.phaseDeg; })) {
        margins.phaseCrossoverHz = phase->hz;
        margins.gainDb = -phase->gainDb;
    }
    return margins;
}

}  // namespace banc::analysis
