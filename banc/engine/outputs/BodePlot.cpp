#include "engine/outputs/BodePlot.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <tarvic/platform/DC.h>
#include <tarvic/platform/PainterDC.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Axe.h>
#include <tarvic/recording/AxeLog.h>
#include <tarvic/recording/Equation.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>

#include "engine/outputs/PlotDrawing.h"
#include "engine/outputs/PlotImage.h"

namespace banc {
namespace {

using analysis::BodePoint;

constexpr int kDivisions = 10;
// The value labels stand this far left of the panels; the frequencies below the lower one.
constexpr int kLabelsLeft = 52, kFrequenciesBelow = 6;
constexpr int kCurveWidth = 2, kMarginWidth = 2, kMarginTextGap = 6, kMarginTextSize = 13;
constexpr double kCrossover = -180;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrid = RGB(215, 215, 215);
constexpr COLORREF kDecadeGrid = RGB(160, 160, 160);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kMeasured = RGB(0, 0, 255);
constexpr COLORREF kDoubtful = RGB(255, 0, 0);
constexpr COLORREF kMargin = RGB(0, 128, 0);

// Steps that keep the labels whole: dB, then degrees.
constexpr std::initializer_list<double> kGainSteps = {1, 2, 5, 10, 20, 50, 100};
constexpr std::initializer_list<double> kPhaseSteps = {5, 10, 15, 30, 45, 90, 180};

struct Range {
    double low = 0;
    double high = 0;
    bool empty = true;

    void Take(double value)
    {
        if (!std::isfinite(value)) return;
        low = empty ? value : std::min(low, value);
        high = empty ? value : std::max(high, value);
        empty = false;
    }
};

// Ten steps of the first size that holds the range, from a multiple of it, the
// range centred in them: whole labels, the points clear of the edges.
CAxe TenSteps(const Range& range, std::initializer_list<double> steps, const std::string& unit, int bottom, int top,
              int labelsX)
{
    const double low = range.empty ? 0 : range.low, high = range.empty ? 0 : range.high;
    double step = *(steps.end() - 1);
    for (const double candidate : steps)
        if (std::ceil(high / candidate) - std::floor(low / candidate) <= kDivisions) {
            step = candidate;
            break;
        }
    // Wider than ten of the largest: a multiple of it.
    while (std::ceil(high / step) - std::floor(low / step) > kDivisions) step *= 2;
    const double used = std::ceil(high / step) - std::floor(low / step);
    const double first = (std::floor(low / step) - std::floor((kDivisions - used) / 2)) * step;
    return CAxe(bottom, top, static_cast<float>(first), static_cast<float>(first + kDivisions * step), unit, labelsX,
                true, 0);
}

// Every point of the diagram: the measured ones and the curves'.
void ForEachPoint(const BodeContent& content, const std::function<void(const BodePoint&)>& take)
{
    for (const BodePoint& point : content.measured) take(point);
    for (const BodeCurve& curve : content.curves)
        for (const BodePoint& point : curve.points) take(point);
}

bool Drawable(const BodePoint& point) { return point.frequencyHz > 0 && std::isfinite(point.gainDb); }

// A margin is marked when its value and its frequency were both read.
bool GainMarginMarked(const BodeContent& content)
{
    return content.margins && content.margins->gainDb && content.margins->phaseCrossoverHz;
}

bool PhaseMarginMarked(const BodeContent& content)
{
    return content.margins && content.margins->phaseDeg && content.margins->gainCrossoverHz;
}

CAxeLog FrequencyAxis(const BodeContent& content, const BodeFrame& frame)
{
    Range hz;
    ForEachPoint(content, [&hz](const BodePoint& point) {
        if (point.frequencyHz > 0) hz.Take(std::log10(point.frequencyHz));
    });
    if (GainMarginMarked(content)) hz.Take(std::log10(*content.margins->phaseCrossoverHz));
    if (PhaseMarginMarked(content)) hz.Take(std::log10(*content.margins->gainCrossoverHz));
    CAxeLog axis(frame.left, frame.right, hz.empty ? 1.0f : static_cast<float>(std::pow(10.0, hz.low)),
                 hz.empty ? 10.0f : static_cast<float>(std::pow(10.0, hz.high)), "f (Hz)",
                 frame.phaseBottom + kFrequenciesBelow, true);
    axis.AjusteDecades();
    return axis;
}

struct Panels {
    CAxeLog frequency;
    CAxe gain;
    CAxe phase;
};

Panels Axes(const BodeContent& content, const BodeFrame& frame)
{
    Range gain, phase;
    ForEachPoint(content, [&](const BodePoint& point) {
        if (!Drawable(point)) return;
        gain.Take(point.gainDb);
        phase.Take(point.phaseDeg);
    });
    if (GainMarginMarked(content)) {
        gain.Take(0);
        gain.Take(-*content.margins->gainDb);
    }
    if (PhaseMarginMarked(content)) {
        phase.Take(kCrossover);
        phase.Take(kCrossover + *content.margins->phaseDeg);
    }
    const int labelsX = frame.left - kLabelsLeft;
    return {FrequencyAxis(content, frame),
            TenSteps(gain, kGainSteps, "gain (dB)", frame.gainBottom, frame.gainTop, labelsX),
            TenSteps(phase, kPhaseSteps, "phase (\xB0)", frame.phaseBottom, frame.phaseTop, labelsX)};
}

void DrawLine(CDC& dc, CPoint from, CPoint to)
{
    dc.MoveTo(from.x, from.y);
    dc.LineTo(to.x, to.y);
}

// Dotted rows at the value axis's steps, columns at the graduations, the decades darker.
void DrawPanelGrid(CDC& dc, const CAxe& values, const CAxeLog& frequency, const BodeFrame& frame)
{
    CPen grid(PS_DOT, 1, kGrid), decade(PS_DOT, 1, kDecadeGrid);
    CPen* previous = dc.SelectObject(&grid);
    for (int k = 0; k <= kDivisions; ++k) {
        const int y = values.m_pixMin - k * values.PasInt();
        DrawLine(dc, {frame.left, y}, {frame.right, y});
    }
    const std::vector<float> decades = frequency.Decades();
    for (const float hz : frequency.Graduations()) {
        dc.SelectObject(std::find(decades.begin(), decades.end(), hz) != decades.end() ? &decade : &grid);
        const int x = frequency.ConvIntFloat(hz);
        DrawLine(dc, {x, values.m_pixMax}, {x, values.m_pixMin});
    }
    dc.SelectObject(previous);
    CPen border(PS_SOLID, 1, kBlack);
    previous = dc.SelectObject(&border);
    CGdiObject* previousBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(frame.left, values.m_pixMax, frame.right + 1, values.m_pixMin + 1);
    dc.SelectObject(previous);
    dc.SelectObject(previousBrush);
}

CPoint GainAt(const Panels& panels, const BodePoint& point)
{
    return {panels.frequency.ConvIntFloat(static_cast<float>(point.frequencyHz)),
            panels.gain.ConvIntFloat(static_cast<float>(point.gainDb))};
}

CPoint PhaseAt(const Panels& panels, const BodePoint& point)
{
    return {panels.frequency.ConvIntFloat(static_cast<float>(point.frequencyHz)),
            panels.phase.ConvIntFloat(static_cast<float>(point.phaseDeg))};
}

void DrawCurves(CDC& dc, const Panels& panels, const BodeContent& content)
{
    for (const BodeCurve& curve : content.curves) {
        CPen pen(curve.dashed ? PS_DASH : PS_SOLID, kCurveWidth, curve.pen);
        CPen* previous = dc.SelectObject(&pen);
        for (const auto at : {&GainAt, &PhaseAt}) {
            std::vector<CPoint> points;
            for (const BodePoint& point : curve.points)
                if (Drawable(point)) points.push_back(at(panels, point));
            if (points.size() > 1) dc.Polyline(points.data(), static_cast<int>(points.size()));
        }
        dc.SelectObject(previous);
    }
}

bool AnyDoubtful(const BodeContent& content)
{
    return std::any_of(content.measured.begin(), content.measured.end(),
                       [](const BodePoint& point) { return !point.trusted; });
}

void DrawMeasured(CDC& dc, const Panels& panels, const BodeContent& content)
{
    CPen trusted(PS_SOLID, 1, kMeasured), doubtful(PS_SOLID, 1, kDoubtful);
    CPen* previous = dc.SelectObject(&trusted);
    for (const BodePoint& point : content.measured) {
        if (!Drawable(point)) continue;
        dc.SelectObject(point.trusted ? &trusted : &doubtful);
        DrawCross(dc, GainAt(panels, point));
        DrawCross(dc, PhaseAt(panels, point));
    }
    dc.SelectObject(previous);
}

// A margin: the segment from its reference to the curve at the crossover, its
// figure beside it, on the left when the right has no room.
void DrawMargin(CDC& dc, int x, int from, int to, const std::string& text, const BodeFrame& frame)
{
    CPen reference(PS_DASH, 1, kBlack), margin(PS_SOLID, kMarginWidth, kMargin);
    CPen* previous = dc.SelectObject(&reference);
    DrawLine(dc, {frame.left, from}, {frame.right, from});
    dc.SelectObject(&margin);
    DrawLine(dc, {x, from}, {x, to});
    dc.SelectObject(previous);
    const int width = CEquation(text, CPoint(), kMarginTextSize).LongEquation(&dc, text);
    const int left = x + kMarginTextGap + width <= frame.right ? x + kMarginTextGap : x - kMarginTextGap - width;
    WriteMarkup(dc, text, left, (from + to) / 2 - kMarginTextSize / 2, kMarginTextSize);
}

void DrawMargins(CDC& dc, const Panels& panels, const BodeContent& content, const BodeFrame& frame)
{
    if (GainMarginMarked(content)) {
        const double margin = *content.margins->gainDb;
        DrawMargin(dc, panels.frequency.ConvIntFloat(static_cast<float>(*content.margins->phaseCrossoverHz)),
                   panels.gain.ConvIntFloat(0), panels.gain.ConvIntFloat(static_cast<float>(-margin)),
                   tarvic::Format("Mg = %.1f dB", margin), frame);
    }
    if (PhaseMarginMarked(content)) {
        const double margin = *content.margins->phaseDeg;
        DrawMargin(dc, panels.frequency.ConvIntFloat(static_cast<float>(*content.margins->gainCrossoverHz)),
                   panels.phase.ConvIntFloat(static_cast<float>(kCrossover)),
                   panels.phase.ConvIntFloat(static_cast<float>(kCrossover + margin)),
                   tarvic::Format("M\\f1f\\n = %.1f\xB0", margin), frame);
    }
}

int DrawBodeLegend(CDC& dc, const BodeContent& content, const BodeFrame& frame)
{
    std::vector<LegendStroke> strokes;
    if (!content.measured.empty()) strokes.push_back({"Points mesur\xE9s", CPen(PS_SOLID, 1, kMeasured), false, true});
    if (AnyDoubtful(content))
        strokes.push_back({"Points douteux (satur\xE9s, d\xE9" "form\xE9s ou bruit\xE9s)", CPen(PS_SOLID, 1, kDoubtful),
                           false, true});
    for (const BodeCurve& curve : content.curves)
        if (!curve.label.empty())
            strokes.push_back(
                {curve.label, CPen(curve.dashed ? PS_DASH : PS_SOLID, kCurveWidth, curve.pen), true, false});
    return DrawLegend(dc, "", strokes, frame.left, frame.right, frame.phaseBottom + kPlotLegendTop);
}

}  // namespace

void DrawBode(CDC& dc, const BodeContent& content, const BodeFrame& frame)
{
    dc.FillSolidRect(CRect(0, 0, frame.width, frame.height), kWhite);
    const Panels panels = Axes(content, frame);
    DrawPanelGrid(dc, panels.gain, panels.frequency, frame);
    DrawPanelGrid(dc, panels.phase, panels.frequency, frame);
    panels.gain.Draw(&dc);
    panels.phase.Draw(&dc);
    panels.frequency.Draw(&dc);
    DrawMargins(dc, panels, content, frame);
    DrawCurves(dc, panels, content);
    DrawMeasured(dc, panels, content);
    WriteMarkup(dc, content.title, frame.left, 18, kPlotTitleSize);
    const int rows = DrawBodeLegend(dc, content, frame);
    WriteMarkupLines(dc, content.legend, frame.left,
                     frame.phaseBottom + kPlotDescriptionTop + (rows - 1) * kPlotLegendRow, kPlotDescriptionSize);
}

std::string SaveBode(const std::string& path, const BodeContent& content)
{
    if (!QGuiApplication::instance()) return "Le dessin demande une application Qt.";
    QImage image(kBodeImageFrame.width, kBodeImageFrame.height, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CPainterDC dc(painter);
        DrawBode(dc, content);
    }
    return SavePicture(path, image);
}

}  // namespace banc
