#pragma once

#include <vector>

#include <tarvic/platform/Gdi.h>
#include <tarvic/platform/Geometry.h>

#include "salle/Room.h"

class CDC;

namespace salle {

// The colours of the live plot's measures, in their order; more measures take them again.
inline constexpr COLORREF kTrendColours[] = {RGB(21, 101, 192), RGB(198, 40, 40), RGB(46, 125, 50), RGB(106, 27, 154)};
inline constexpr COLORREF kTrendFrame = RGB(189, 189, 189);

// A tile's trend: the measure over the last kTrendSpan up to `now`, right
// edge now, scaled to its own lowest and highest values, in a light frame.
void DrawTrend(CDC& dc, const Trend& trend, COLORREF colour, const CRect& frame, Clock::time_point now);

// The details' live plot: every measure on one scale of their lowest and
// highest values, written left of the frame, "-5 min" and "0" under it, and
// under that a legend of the measures with their units.
void DrawLivePlot(CDC& dc, const std::vector<Trend>& trends, const CRect& frame, Clock::time_point now);

}  // namespace salle
