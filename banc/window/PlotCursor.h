#pragma once

#include <optional>
#include <string>
#include <vector>

#include <tarvic/platform/Geometry.h>
#include <tarvic/recording/Axe.h>
#include <tarvic/recording/AxeTemps.h>

#include "engine/outputs/PlotImage.h"

namespace banc::window {

// Where the plot's cursor stands: its point of the recording, and the curve
// it snapped to, if one lay near.
struct CursorReading {
    int index = 0;
    float seconds = 0;
    std::optional<PlotCurve> curve;
    float value = 0;  // of the curve, in its unit
    CPoint at;        // the curve's point, or the click's column at the click's row
};

// The cursor for a click at `point` of the plot's frame: the point index of
// its column (the time axis), then the recording's search of the shown
// curves for one near the click's value (RecherchePoint, within 5 of the
// recording's own values), tried on the left axis, then on the right one.
// None outside the frame or the acquired points.
std::optional<CursorReading> SnapCursor(const CEnregistrement& recording, const std::vector<PlotCurve>& shown,
                                        const CAxe (&axes)[2], const CAxeTemps& time, int points, int periodMs,
                                        CPoint point);

// Where the cursor stands on these axes: its point's column and its curve's
// row (the click's row without a curve); none when its point is out of the span shown.
std::optional<CPoint> CursorPoint(const CursorReading& reading, const CAxe (&axes)[2], const CAxeTemps& time);

// "t = 12.35 s ; Mesure = 48.21 %" (Latin-1).
std::string CursorText(const CursorReading& reading, const PlotContent& content);

}  // namespace banc::window
