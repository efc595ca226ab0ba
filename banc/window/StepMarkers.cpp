#include "window/StepMarkers.h"

#include <tarvic/platform/Text.h>
#include <tarvic/widgets/CteTemps.h>
#include <tarvic/widgets/Dep1.h>
#include <tarvic/widgets/Tempscp.h>

namespace banc::window {
namespace {

// The boxes, one under the other at the frame's right.
constexpr int kBoxesFromRight = 150, kFirstBoxDown = 8, kBoxGap = 8;
constexpr int kShortBox = 40, kTallBox = 80;

bool Visible(const CAxeTemps& time, int index) { return index >= time.m_premier && index <= time.m_dernier; }

}  // namespace

std::vector<std::unique_ptr<CElement>> StepMarkers(const StepResponse& response, const CAxe& measureAxis,
                                                   const CAxeTemps& time)
{
    std::vector<std::unique_ptr<CElement>> markers;
    if (!response.hasStep) return markers;
    const int x = time.m_pixDroite - kBoxesFromRight;
    int y = measureAxis.m_pixMax + kFirstBoxDown;
    const int step = time.calculpx(response.stepIndex);
    if (response.settlingIndex && Visible(time, *response.settlingIndex) && response.settlingTime) {
        const int finalRow = measureAxis.ConvIntFloat(response.final);
        markers.push_back(std::make_unique<CTempscp>(
            CPoint(x, y), tarvic::Format("%.1f s", double{*response.settlingTime}),
            time.calculpx(*response.settlingIndex), finalRow, measureAxis.ConvIntFloat(response.final + response.band),
            measureAxis.ConvIntFloat(response.final - response.band), step, time.m_pixDroite));
        y += kShortBox + kBoxGap;
    }
    if (response.timeConstant) {
        markers.push_back(std::make_unique<CCteTemps>(CPoint(x, y), tarvic::Format("%.1f s", double{*response.timeConstant})));
        y += kShortBox + kBoxGap;
    }
    if (response.overshoot && *response.overshoot > 0 && Visible(time, response.peakIndex)) {
        const int peak = time.calculpx(response.peakIndex);
        markers.push_back(std::make_unique<CDep1>(CPoint(x, y), tarvic::Format("%.1f %%", double{*response.overshoot}),
                                                  step, peak, measureAxis.ConvIntFloat(response.final + (response.final - response.initial) * *response.overshoot / 100),
                                                  step, peak));
    }
    return markers;
}

}  // namespace banc::window
