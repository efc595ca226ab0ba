#include "engine/Results.h"

#include <cmath>

namespace banc {
namespace {

constexpr int kWaitingTime = 1001;  // the recording's parameter
constexpr int kOneLine = 0;         // LitConfiguration layout
// The formula renderer's colours: green, blue, red.
constexpr char kSetpointColour = '3', kMeasureColour = '1', kCommandColour = '2';

}  // namespace

int PeriodMs(CEnregistrement& recording)
{
    float waiting = 0;
    recording.LitFParam(kWaitingTime, waiting);
    return static_cast<int>(std::lround(waiting));
}

int BlocksAcquired(const CEnregistrement& recording) { return recording.LitNbPoint() / kPointsPerBlock; }

std::vector<Curve> ResultColumns(const Settings& settings)
{
    return Columns(*settings.bench, *settings.mode, settings.Measure());
}

std::string ExperimentTitle(const Settings& settings)
{
    return std::string(settings.bench->title) + ", " + settings.mode->controller->label;
}

PlotContent MakePlot(const Settings& settings, const Elements& elements)
{
    const Bench& bench = *settings.bench;
    PlotContent plot;
    plot.title = "\\g" + ExperimentTitle(settings);
    // The measurement last, on top of the others.
    plot.curves = {{bench.setpoint, kSetpointColour},
                   {bench.command, kCommandColour},
                   {MeasureCurve(bench, *settings.mode, settings.Measure()), kMeasureColour}};
    // One description a line: the controller's may end without its line feed.
    plot.legend = elements.controller->LitConfiguration(kOneLine);
    if (!plot.legend.empty() && plot.legend.back() != '\n') plot.legend += '\n';
    plot.legend += elements.generator->LitConfiguration(kOneLine);
    plot.levelMin = bench.levelMin;
    plot.levelMax = bench.levelMax;
    plot.unit = bench.unit;
    plot.points = BlocksAcquired(*elements.recording) * kPointsPerBlock;
    plot.plannedPoints = elements.recording->LitParam(2) * kPointsPerBlock;
    plot.periodMs = PeriodMs(*elements.recording);
    return plot;
}

}  // namespace banc
