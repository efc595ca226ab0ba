#include "engine/outputs/PlotImage.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <tarvic/platform/DC.h>
#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/PainterDC.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Axe.h>
#include <tarvic/recording/AxeTemps.h>
#include <tarvic/recording/Enregistrement.h>
#include <tarvic/recording/Equation.h>

#include <algorithm>

#include "engine/outputs/PlotDrawing.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/SafeFile.h"

namespace banc {
namespace {

// The value labels stand this far left of the frame, and right of it.
constexpr int kLabelsLeft = 52, kLabelsRight = 10;
constexpr int kLabelSize = 12, kUnitSize = 14;
constexpr int kDivisions = 10;
constexpr int kCurveWidth = 2;
// A solid overlay thinner, so that a model that fits hides no measured point;
// a dashed one as wide as the curves, the measurement seen between its dashes.
int OverlayWidth(bool dashed) { return dashed ? kCurveWidth : 1; }
constexpr int kMaxWidenings = 20;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrid = RGB(215, 215, 215);
constexpr COLORREF kBlack = RGB(0, 0, 0);

bool UsesAxis(const PlotContent& content, int axis)
{
    return std::any_of(content.curves.begin(), content.curves.end(),
                       [axis](const PlotCurve& plotted) { return plotted.axis == axis; });
}

// The lowest and highest values of the overlays drawn on `axis`.
void OverlayRange(const PlotContent& content, int axis, float& low, float& high)
{
    for (const PlotOverlay& overlay : content.overlays) {
        if (overlay.axis != axis) continue;
        for (const auto* points : {&overlay.line, &overlay.marks})
            for (const PlotPoint& point : *points) {
                low = std::min(low, point.value);
                high = std::max(high, point.value);
            }
    }
}

}  // namespace

// A value axis over its range, widened by tenths until every point of its curves lies on it;
// an empty range is first fitted to the points, from 0.
CAxe PlotValueAxis(const CEnregistrement& recording, const PlotContent& content, const PlotFrame& frame, int index)
{
    const PlotAxis& range = content.axes[index];
    float low = range.min, high = range.max;
    const bool fitted = range.min == range.max;
    for (const auto& plotted : content.curves)
        for (int i = 0; plotted.axis == index && i < content.points; ++i) {
            const float value = plotted.curve.Value(recording, i);
            low = std::min(low, value);
            high = std::max(high, value);
        }
    // A model or a prediction that leaves the measurement's range is drawn whole, not clipped at its edge.
    OverlayRange(content, index, low, high);
    if (fitted && low == high) high = low + 1;
    const int labelsX = index == 0 ? frame.left - kLabelsLeft : frame.right + kLabelsRight;
    CAxe axis(frame.bottom, frame.top, fitted ? low : range.min, fitted ? high : range.max, range.unit, labelsX, true,
              0);
    if (fitted) axis.AjustePlage(10);
    for (int i = 0; i < kMaxWidenings && (low < axis.m_min || high > axis.m_max); ++i) axis.AjustePlage(10);
    return axis;
}

CAxeTemps PlotTimeAxis(const PlotContent& content, const PlotFrame& frame)
{
    CAxeTemps axis;
    axis.m_fenetre = std::max(content.plannedPoints, 1);
    axis.m_periode = static_cast<float>(content.periodMs);
    axis.m_pixGauche = frame.left;
    axis.m_pixDroite = frame.right;
    axis.Calcul();
    return axis;
}

namespace {

void DrawGrid(CDC& dc, const CAxe& values, const CAxeTemps& time, const PlotContent& content, const PlotFrame& frame)
{
    CPen grid(PS_DOT, 1, kGrid);
    CPen* previous = dc.SelectObject(&grid);
    const int span = time.m_dernier - time.m_premier;
    const double seconds = static_cast<double>(span) * content.periodMs / 1000.0;
    for (int k = 0; k <= kDivisions; ++k) {
        const int y = values.m_pixMin - k * values.PasInt();
        dc.MoveTo(frame.left, y);
        dc.LineTo(frame.right, y);
        const int index = time.m_premier + k * span / kDivisions;
        const int x = time.calculpx(index);
        dc.MoveTo(x, frame.top);
        dc.LineTo(x, frame.bottom);
        const double t = static_cast<double>(index) * content.periodMs / 1000.0;
        WriteMarkup(dc, tarvic::Format(seconds >= 2 * kDivisions ? "%.0f" : "%.1f", t), x - 8, frame.bottom + 6,
                    kLabelSize);
    }
    WriteMarkup(dc, "t (s)", frame.right - 16, frame.bottom + 24, kUnitSize);
    dc.SelectObject(previous);
}

void DrawCurves(CDC& dc, const CEnregistrement& recording, const CAxe (&values)[2], const CAxeTemps& time,
                const PlotContent& content)
{
    // The acquired points the time axis shows.
    const int first = std::max(time.m_premier, 0);
    const int last = std::min(time.m_dernier, content.points - 1);
    for (const auto& plotted : content.curves) {
        if (last < first) break;
        std::vector<CPoint> points;
        points.reserve(static_cast<std::size_t>(last - first + 1));
        for (int i = first; i <= last; ++i)
            points.emplace_back(time.calculpx(i), values[plotted.axis].ConvIntFloat(plotted.curve.Value(recording, i)));
        // The pen takes the renderer's colour of the code, so that the legend matches.
        CEquation::TextColor(&dc, plotted.colour);
        CPen pen(PS_SOLID, kCurveWidth, plotted.pen == kColourOfCode ? dc.GetTextColor() : plotted.pen);
        CPen* previous = dc.SelectObject(&pen);
        dc.Polyline(points.data(), static_cast<int>(points.size()));
        dc.SelectObject(previous);
    }
}

// A pen of an overlay's own dash is as wide as the curves: the runs of a comparison.
CPen OverlayPen(const PlotOverlay& overlay)
{
    if (overlay.style >= 0) return CPen(overlay.style, kCurveWidth, overlay.pen);
    return CPen(overlay.dashed ? PS_DASH : PS_SOLID, OverlayWidth(overlay.dashed), overlay.pen);
}

// The stretch of a polyline inside [from, to] seconds, its ends cut where it crosses them.
std::vector<PlotPoint> Within(const std::vector<PlotPoint>& line, float from, float to)
{
    std::vector<PlotPoint> inside;
    const auto cut = [](const PlotPoint& a, const PlotPoint& b, float t) {
        return PlotPoint{t, a.value + (b.value - a.value) * (t - a.t) / (b.t - a.t)};
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const PlotPoint& point = line[i];
        const bool in = point.t >= from && point.t <= to;
        if (i > 0) {
            const PlotPoint& previous = line[i - 1];
            if (previous.t < from && point.t > from) inside.push_back(cut(previous, point, from));
            if (previous.t < to && point.t > to) inside.push_back(cut(previous, point, to));
        }
        if (in) inside.push_back(point);
    }
    return inside;
}

void DrawOverlays(CDC& dc, const CAxe (&values)[2], const CAxeTemps& time, const PlotContent& content)
{
    const float seconds = static_cast<float>(content.periodMs) / 1000;
    const float from = static_cast<float>(time.m_premier) * seconds, to = static_cast<float>(time.m_dernier) * seconds;
    const auto at = [&](const PlotOverlay& overlay, const PlotPoint& point) {
        return CPoint(time.ConvIntFloat(point.t), values[overlay.axis].ConvIntFloat(point.value));
    };
    for (const PlotOverlay& overlay : content.overlays) {
        CPen pen = OverlayPen(overlay);
        CPen* previous = dc.SelectObject(&pen);
        std::vector<CPoint> points;
        for (const PlotPoint& point : Within(overlay.line, from, to)) points.push_back(at(overlay, point));
        if (points.size() > 1) dc.Polyline(points.data(), static_cast<int>(points.size()));
        for (const PlotPoint& mark : overlay.marks)
            if (mark.t >= from && mark.t <= to) DrawCross(dc, at(overlay, mark));
        dc.SelectObject(previous);
    }
}

std::vector<LegendStroke> Strokes(const PlotContent& content)
{
    std::vector<LegendStroke> strokes;
    for (const auto& plotted : content.curves)
        if (plotted.pen != kColourOfCode)
            strokes.push_back({plotted.curve.label, CPen(PS_SOLID, kCurveWidth, plotted.pen), true, false});
    for (const auto& overlay : content.overlays)
        if (!overlay.label.empty())
            strokes.push_back({overlay.label, OverlayPen(overlay), !overlay.line.empty(), !overlay.marks.empty()});
    return strokes;
}

// The curves in their colours, on as many rows as they take; returns the rows.
int DrawContentLegend(CDC& dc, const PlotContent& content, const PlotFrame& frame)
{
    std::string coded;
    for (const auto& plotted : content.curves)
        if (plotted.pen == kColourOfCode)
            coded += tarvic::Format("\\c%c%s   ", plotted.colour, plotted.curve.label.c_str());
    std::vector<LegendStroke> strokes = Strokes(content);
    return DrawLegend(dc, coded, strokes, frame.left, frame.right, frame.bottom + kPlotLegendTop);
}

}  // namespace

void DrawPlot(CDC& dc, const CEnregistrement& recording, const PlotContent& content, const PlotFrame& frame,
              const CAxeTemps* timeAxis)
{
    dc.FillSolidRect(CRect(0, 0, frame.width, frame.height), kWhite);
    const CAxe values[2] = {PlotValueAxis(recording, content, frame, 0), PlotValueAxis(recording, content, frame, 1)};
    const CAxeTemps time = timeAxis ? *timeAxis : PlotTimeAxis(content, frame);
    DrawGrid(dc, values[0], time, content, frame);
    CPen border(PS_SOLID, 1, kBlack);
    CPen* previousPen = dc.SelectObject(&border);
    CGdiObject* previousBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(frame.left, frame.top, frame.right + 1, frame.bottom + 1);
    dc.SelectObject(previousPen);
    dc.SelectObject(previousBrush);
    values[0].Draw(&dc);
    if (UsesAxis(content, 1)) values[1].Draw(&dc);
    DrawCurves(dc, recording, values, time, content);
    DrawOverlays(dc, values, time, content);
    WriteMarkup(dc, content.title, frame.left, 18, kPlotTitleSize);
    const int rows = DrawContentLegend(dc, content, frame);
    WriteMarkupLines(dc, content.legend, frame.left, frame.bottom + kPlotDescriptionTop + (rows - 1) * kPlotLegendRow,
                     kPlotDescriptionSize);
}

std::string SavePlot(const std::string& path, const CEnregistrement& recording, const PlotContent& content)
{
    if (!QGuiApplication::instance()) return "Le dessin demande une application Qt.";
    QImage image(kImageFrame.width, kImageFrame.height, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CPainterDC dc(painter);
        DrawPlot(dc, recording, content);
    }
    return SavePicture(path, image);
}

std::string SavePicture(const std::string& path, const QImage& image)
{
    if (std::string kept = SpecialFileKept(path); !kept.empty()) return kept;
    if (std::string kept = ArchiveKept(path); !kept.empty()) return kept;
    // Encoded in memory, then written whole or not at all.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return tarvic::Format("Impossible d'\xE9" "crire l'image %s.", path.c_str());
    const int error = WriteWholeFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
    if (error == 0) return {};
    return tarvic::Format("Impossible d'\xE9" "crire l'image %s : %s.", path.c_str(),
                          tarvic::FileErrorReason(error, tarvic::FileUse::Write).c_str());
}

}  // namespace banc
