#include "salle/TrendDrawing.h"

#include <tarvic/platform/DC.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/model/NumberText.h"
#include "engine/outputs/PlotDrawing.h"

namespace salle {
namespace {

constexpr int kLabelSize = 12;
constexpr int kLabelGap = 6;

struct Range {
    double low;
    double high;
};

// The lowest and highest values of the trends; a flat trend gets one unit either side.
Range RangeOf(const std::vector<const Trend*>& trends)
{
    Range range{HUGE_VAL, -HUGE_VAL};
    for (const Trend* trend : trends)
        for (const TrendPoint& point : trend->points) {
            range.low = std::min(range.low, point.value);
            range.high = std::max(range.high, point.value);
        }
    if (range.low > range.high) return {0, 1};
    if (range.low == range.high) return {range.low - 1, range.high + 1};
    return range;
}

void DrawFrame(CDC& dc, const CRect& frame)
{
    CPen pen(PS_SOLID, 1, kTrendFrame);
    CPen* previous = dc.SelectObject(&pen);
    const CPoint corners[] = {{frame.left, frame.top},
                              {frame.right, frame.top},
                              {frame.right, frame.bottom},
                              {frame.left, frame.bottom},
                              {frame.left, frame.top}};
    dc.Polyline(corners, static_cast<int>(std::size(corners)));
    if (previous) dc.SelectObject(previous);
}

void DrawPoints(CDC& dc, const Trend& trend, COLORREF colour, const Range& range, const CRect& frame,
                Clock::time_point now)
{
    if (trend.points.empty()) return;
    const auto span = std::chrono::duration_cast<std::chrono::milliseconds>(kTrendSpan).count();
    const Clock::time_point start = now - kTrendSpan;
    std::vector<CPoint> points;
    points.reserve(trend.points.size());
    for (const TrendPoint& point : trend.points) {
        const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(point.at - start).count();
        const long long x = frame.left + std::clamp<long long>(since, 0, span) * frame.Width() / span;
        const double y = frame.bottom - (point.value - range.low) * frame.Height() / (range.high - range.low);
        points.emplace_back(static_cast<int>(x), static_cast<int>(std::lround(y)));
    }
    // One point alone is a dot's width of line, to be seen.
    if (points.size() == 1) points.emplace_back(points.front().x + 1, points.front().y);
    CPen pen(PS_SOLID, 2, colour);
    CPen* previous = dc.SelectObject(&pen);
    dc.Polyline(points.data(), static_cast<int>(points.size()));
    if (previous) dc.SelectObject(previous);
}

void WriteLabel(CDC& dc, int x, int y, unsigned align, const std::string& text)
{
    dc.SetTextAlign(align);
    dc.TextOut(x, y, text);
}

}  // namespace

void DrawTrend(CDC& dc, const Trend& trend, COLORREF colour, const CRect& frame, Clock::time_point now)
{
    DrawFrame(dc, frame);
    DrawPoints(dc, trend, colour, RangeOf({&trend}), frame, now);
}

void DrawLivePlot(CDC& dc, const std::vector<Trend>& trends, const CRect& frame, Clock::time_point now)
{
    std::vector<const Trend*> all;
    for (const Trend& trend : trends) all.push_back(&trend);
    const Range range = RangeOf(all);
    DrawFrame(dc, frame);
    LOGFONT log;
    log.lfHeight = kLabelSize;
    CFont font;
    font.CreateFontIndirect(&log);
    CFont* previousFont = dc.SelectObject(&font);
    const unsigned previousAlign = dc.GetTextAlign();
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    WriteLabel(dc, frame.left - kLabelGap, frame.top, TA_RIGHT | TA_TOP, banc::NumberText(range.high));
    WriteLabel(dc, frame.left - kLabelGap, frame.bottom, TA_RIGHT | TA_BOTTOM, banc::NumberText(range.low));
    WriteLabel(dc, frame.left, frame.bottom + kLabelGap, TA_LEFT | TA_TOP, "-5 min");
    WriteLabel(dc, frame.right, frame.bottom + kLabelGap, TA_RIGHT | TA_TOP, "0");
    dc.SetTextAlign(previousAlign);
    dc.SetBkMode(previousMode);
    if (previousFont) dc.SelectObject(previousFont);
    std::vector<banc::LegendStroke> legend;
    for (std::size_t i = 0; i < trends.size(); ++i) {
        const COLORREF colour = kTrendColours[i % std::size(kTrendColours)];
        DrawPoints(dc, trends[i], colour, range, frame, now);
        const std::string unit = trends[i].unit.empty() ? "" : " (" + trends[i].unit + ")";
        legend.push_back({trends[i].name + unit, CPen(PS_SOLID, 2, colour), true, false});
    }
    banc::DrawLegend(dc, "", legend, frame.left, frame.right, frame.bottom + kLabelGap + 2 * kLabelSize);
}

}  // namespace salle
