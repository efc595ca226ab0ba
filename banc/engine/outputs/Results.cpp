#include "engine/outputs/Results.h"

#include <cmath>

namespace banc {
namespace {

constexpr int kWaitingTime = 1001;  // the recording's parameter
constexpr int kOneLine = 0;         // LitConfiguration layout
// The formula renderer's colours: green, blue, red.
constexpr char kSetpointColour = '3', kMeasureColour = '1', kCommandColour = '2';

Curve Named(const char* name, const char* label, const UnitView& unit, Curve curve)
{
    curve.column = std::string(name) + "_" + unit.suffix;
    curve.label = label;
    return curve;
}

}  // namespace

ExperimentCurves CurvesOf(const Settings& settings, const Elements& elements)
{
    const Bench& bench = *settings.bench;
    CEidElement& element = *elements.bench;
    const MeasureChoice& measure = settings.Measure();
    const bool closedLoop = settings.mode->controller->closedLoop;
    ExperimentCurves curves;
    curves.measureUnit = QuantityUnit(measure.quantity, element);
    const UnitView& unit = curves.measureUnit;
    curves.command = bench.command;
    // In open loop the card's setpoint row holds the command the generator plays,
    // and the card's measurement reads 0: the watched quantity stands for it.
    const UnitView commandUnit{kCommandUnit, "pct"};
    curves.setpoint =
        closedLoop ? Named("consigne", "Consigne", unit, {"", "", bench.setpointCode, 1, 0, unit.factor})
                   : Named("consigne", "Consigne", commandUnit, {"", "", bench.setpointCode, bench.command.scale});
    curves.measure = Named("mesure", "Mesure", unit,
                           closedLoop ? Curve{"", "", bench.measureCode, 1, 0, unit.factor} : measure.curve);
    curves.setpointUnit = closedLoop ? unit.unit : kCommandUnit;
    curves.others.push_back(Named("erreur", "Erreur", unit, {"", "", bench.errorCode, 1, 0, unit.factor}));
    curves.others.insert(curves.others.end(), bench.others.begin(), bench.others.end());
    for (Curve* curve : {&curves.setpoint, &curves.measure, &curves.command}) *curve = curve->Resolved(element);
    for (Curve& curve : curves.others) curve = curve.Resolved(element);
    return curves;
}

int PeriodMs(CEnregistrement& recording)
{
    float waiting = 0;
    recording.LitFParam(kWaitingTime, waiting);
    return static_cast<int>(std::lround(waiting));
}

int BlocksAcquired(const CEnregistrement& recording) { return recording.LitNbPoint() / kPointsPerBlock; }

std::vector<Curve> ResultColumns(const Settings& settings, const Elements& elements)
{
    const ExperimentCurves curves = CurvesOf(settings, elements);
    std::vector<Curve> columns = {curves.setpoint, curves.measure, curves.command};
    columns.insert(columns.end(), curves.others.begin(), curves.others.end());
    return columns;
}

std::string ExperimentTitle(const Settings& settings)
{
    return std::string(settings.bench->title) + ", " + settings.mode->controller->label;
}

StepFigures ExperimentStep(const Settings& settings, const Elements& elements)
{
    CEnregistrement& recording = *elements.recording;
    const ExperimentCurves curves = CurvesOf(settings, elements);
    const int points = BlocksAcquired(recording) * kPointsPerBlock;
    std::vector<float> setpoint, measure;
    for (int i = 0; i < points; ++i) {
        setpoint.push_back(curves.setpoint.Value(recording, i));
        measure.push_back(curves.measure.Value(recording, i));
    }
    // In open loop the setpoint row holds the command, in another unit than the measurement.
    const OvershootOf reference =
        settings.mode->controller->closedLoop ? OvershootOf::SetpointStep : OvershootOf::FinalChange;
    return AnalyseStep(setpoint, measure, static_cast<float>(PeriodMs(recording)) / 1000.0f, reference);
}

PlotContent MakePlot(const Settings& settings, const Elements& elements)
{
    const ExperimentCurves curves = CurvesOf(settings, elements);
    PlotContent plot;
    plot.title = "\\g" + ExperimentTitle(settings);
    // The measurement on the left axis with what shares its unit, the rest on the right.
    const auto axis = [&](const std::string& unit) { return unit == curves.measureUnit.unit ? 0 : 1; };
    plot.curves = {{curves.setpoint, kSetpointColour, axis(curves.setpointUnit)},
                   {curves.command, kCommandColour, axis(kCommandUnit)},
                   {curves.measure, kMeasureColour, 0}};  // last, on top of the others
    // Percentages over their whole range; the card units' quantities fitted to what was measured.
    const bool percent = settings.Measure().quantity == Quantity::Percent;
    plot.axes[0] = {percent ? curves.measureUnit.min : 0, percent ? curves.measureUnit.max : 0,
                    curves.measureUnit.unit};
    plot.axes[1] = {-100, 100, kCommandUnit};
    // One description a line: the controller's may end without its line feed.
    plot.legend = elements.controller->LitConfiguration(kOneLine);
    if (!plot.legend.empty() && plot.legend.back() != '\n') plot.legend += '\n';
    plot.legend += elements.generator->LitConfiguration(kOneLine);
    plot.points = BlocksAcquired(*elements.recording) * kPointsPerBlock;
    plot.plannedPoints = elements.recording->LitParam(2) * kPointsPerBlock;
    plot.periodMs = PeriodMs(*elements.recording);
    return plot;
}

}  // namespace banc
