#include "engine/lab/PredictionComparison.h"

#include <algorithm>
#include <cmath>

#include "engine/outputs/FigureText.h"

namespace banc {
namespace {

constexpr int kLevelDecimals = 2;   // as the step summary gives the levels
constexpr double kRestBand = 0.05;  // of the step: the settling band

std::string Level(const std::optional<float>& value, const std::string& unit)
{
    return value ? DecimalText(*value, kLevelDecimals) + " " + unit : "non \xE9tablie";
}

std::string Overshoot(const StepFigures& figures)
{
    return figures.overshoot ? PercentText(*figures.overshoot) : "non \xE9tabli";
}

std::string Time(const std::optional<float>& value, const StepFigures& figures, const char* missing)
{
    return value ? SecondsText(*value, figures.samplePeriod) : missing;
}

}  // namespace

PredictionComparison ComparePrediction(const analysis::LoopPrediction& prediction, const StepFigures& measured,
                                       const std::vector<double>& measure)
{
    PredictionComparison comparison;
    comparison.measured = measured;
    comparison.predicted = prediction.figures;
    comparison.iae = analysis::IntegralAbsoluteDifference(measure, prediction.measure, prediction.period);
    const std::size_t common = std::min(measure.size(), prediction.measure.size());
    comparison.span = common > 1 ? static_cast<double>(common - 1) * prediction.period : 0;
    const StepFigures& predicted = prediction.figures;
    const double step = std::fabs(double{predicted.setpoint} - predicted.initial);
    comparison.fromRest = std::fabs(double{measured.initial} - predicted.initial) <= kRestBand * step;
    return comparison;
}

TextTable ComparisonTable(const PredictionComparison& comparison, const std::string& unit)
{
    const StepFigures& m = comparison.measured;
    const StepFigures& p = comparison.predicted;
    return {{"", "Mesur\xE9", "Pr\xE9" "dit"},
            {{"Valeur finale", Level(m.final, unit), Level(p.final, unit)},
             {"D\xE9passement", Overshoot(m), Overshoot(p)},
             {"Temps de mont\xE9" "e (10 \xE0 90 %)", Time(m.riseTime, m, "non \xE9tabli"),
              Time(p.riseTime, p, "non \xE9tabli")},
             {"Temps d'\xE9tablissement \xE0 5 %", Time(m.settlingTime, m, "non atteint"),
              Time(p.settlingTime, p, "non atteint")}}};
}

}  // namespace banc
