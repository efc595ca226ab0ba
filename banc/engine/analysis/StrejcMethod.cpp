#include <algorithm>
#include <array>

#include "engine/analysis/GraphicMethods.h"

namespace banc::analysis {
namespace {

// Strejc's table as the lessons print it: n, Tu/Ta, Ta/τ.
constexpr std::array<StrejcRow, 6> kTable{{
    {1, 0.0, 1.0},
    {2, 0.104, 2.718},
    {3, 0.218, 3.695},
    {4, 0.319, 4.463},
    {5, 0.410, 5.119},
    {6, 0.493, 5.699},
}};
// The table is for n equal lags, whose ratio is the largest n lags can give
// (0.1036 for n = 2, printed 0.104); lags a little apart, as two tanks in
// cascade at different levels during the transient, read up to a tenth below
// it, and a tangent drawn on a curve is read no closer. A ratio within this
// much below an entry reaches it; a pure delay of 7.5 % of the lag (0.075)
// still reads as a first order.
constexpr double kRatioReading = 0.015;

}  // namespace

StrejcRow StrejcTableRow(int order)
{
    return kTable[static_cast<std::size_t>(std::clamp(order, 1, static_cast<int>(kTable.size())) - 1)];
}

int StrejcOrder(double tuOverTa)
{
    int order = 1;
    for (const StrejcRow& row : kTable)
        if (row.tuOverTa <= tuOverTa + kRatioReading) order = row.order;
    return order;
}

std::optional<MethodResult> Strejc(const ResponseReading& reading, const StepAnalysed& step)
{
    // The tangent at the inflection cuts the initial level at the step + Tu
    // and the final level Ta later. With n from Tu / Ta:
    // τ = Ta / (Ta/τ)(n), and the delay θ = Tu − (Tu/Ta)(n) · Ta, not below 0.
    const Inflection inflection = reading.Steepest();
    const double change = step.measureFinal - step.measureBefore;
    if (!(inflection.slope * change > 0)) return std::nullopt;
    const double start = inflection.point.t - (inflection.point.value - step.measureBefore) / inflection.slope;
    const double tu = start - step.stepTime;
    const double ta = change / inflection.slope;
    const StrejcRow row = StrejcTableRow(StrejcOrder(tu / ta));

    MethodResult method{"strejc", "Strejc", {}, {inflection.point}, std::nullopt};
    method.model.kind = ModelKind::Strejc;
    method.model.gain = change / (step.commandAfter - step.commandBefore);
    method.model.order = row.order;
    method.model.timeConstant = ta / row.taOverTau;
    method.model.delay = std::max(tu - row.tuOverTa * ta, 0.0);
    method.tangent = std::make_pair(CurvePoint{start, step.measureBefore}, CurvePoint{start + ta, step.measureFinal});
    return method;
}

}  // namespace banc::analysis
