#include "engine/outputs/AnalysisPlot.h"

#include <cstddef>

namespace banc {
namespace {

// Each a grey of its own too, and none the measurement's dark blue, for a
// picture printed in black and white: a light model, the methods' marks black,
// mid and dark.
constexpr COLORREF kModelColour = RGB(255, 140, 0);
constexpr COLORREF kMethodColours[] = {RGB(0, 0, 0), RGB(0, 150, 150), RGB(150, 0, 150)};

PlotPoint Point(double t, double value) { return {static_cast<float>(t), static_cast<float>(value)}; }

}  // namespace

std::vector<PlotOverlay> IdentificationOverlays(const analysis::Identification& identification,
                                                const analysis::StepRecord& record)
{
    std::vector<PlotOverlay> overlays;
    if (!identification.Identified()) return overlays;
    const analysis::StepAnalysed& step = identification.step;
    const double change = step.commandAfter - step.commandBefore;
    // The model's answer to the step the record holds, from the level it rested at.
    PlotOverlay fit{"Mod\xE8le ajust\xE9", kModelColour, false, 0, {}, {}};
    for (std::size_t i = 0; i < record.measure.size(); ++i) {
        const double t = static_cast<double>(i) * record.period;
        fit.line.push_back(
            Point(t, step.measureBefore + identification.fit->model.StepResponse(t - step.stepTime, change)));
    }
    overlays.push_back(std::move(fit));
    for (std::size_t i = 0; i < identification.methods.size(); ++i) {
        const analysis::MethodResult& method = identification.methods[i];
        PlotOverlay construction{method.label, kMethodColours[i % std::size(kMethodColours)], false, 0, {}, {}};
        for (const analysis::CurvePoint& point : method.points)
            construction.marks.push_back(Point(point.t, point.value));
        if (method.tangent)
            construction.line = {Point(method.tangent->first.t, method.tangent->first.value),
                                 Point(method.tangent->second.t, method.tangent->second.value)};
        overlays.push_back(std::move(construction));
    }
    return overlays;
}

PlotOverlay PredictionOverlay(const analysis::LoopPrediction& prediction)
{
    PlotOverlay predicted{"R\xE9ponse pr\xE9" "dite", kModelColour, true, 0, {}, {}};
    for (std::size_t i = 0; i < prediction.measure.size(); ++i)
        predicted.line.push_back(Point(static_cast<double>(i) * prediction.period, prediction.measure[i]));
    return predicted;
}

}  // namespace banc
