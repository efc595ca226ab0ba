#include "window/PlotView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <tarvic/platform/PainterDC.h>
#include <tarvic/recording/Enregistrement.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/outputs/Results.h"
#include "engine/outputs/StepText.h"
#include "window/CurveList.h"
#include "window/LabSession.h"
#include "window/Latin1.h"
#include "window/PlotDC.h"
#include "window/StepMarkers.h"
#include "window/Workbench.h"

namespace banc::window {
namespace {

constexpr int kFrameLeft = 80, kFrameRight = 80, kFrameTop = 75, kFrameBottom = 675;
constexpr int kMinWidth = 480;
constexpr int kTenths = 10;
constexpr int kBlocksOfAPass = 20;  // the time axis's own count of blocks a pass
constexpr COLORREF kCursorColour = RGB(90, 90, 90);
constexpr int kCursorMark = 5;
// The smallest text's cell on the screen, in pixels: its em comes to about 10 points.
constexpr double kReadableText = 16;

}  // namespace

PlotView::PlotView(Workbench& workbench, CurveList& curves, QWidget* parent)
    : QWidget(parent), m_workbench(workbench), m_curves(curves)
{
    setMinimumSize(kMinWidth, kHeight / 2);
}

QSize PlotView::sizeHint() const { return {1100, kHeight}; }

int PlotView::LogicalHeight() const
{
    if (m_compared.empty()) return kHeight;
    // As much room under the frame as a picture of the runs takes under its own.
    const PlotFrame picture = ComparisonImageFrame(m_compared.size());
    return std::max(kHeight, kFrameBottom + picture.height - picture.bottom);
}

double PlotView::Scale() const { return std::min(1.0, static_cast<double>(height()) / LogicalHeight()); }

int PlotView::LogicalWidth() const { return static_cast<int>(width() / Scale()); }

QPoint PlotView::ToWidget(CPoint logical) const
{
    const double scale = Scale();
    return {static_cast<int>(std::lround(logical.x * scale)), static_cast<int>(std::lround(logical.y * scale))};
}

bool PlotView::Live() const { return m_workbench.Running() && m_workbench.ShowsLive(); }

void PlotView::ZoomIn()
{
    if (m_zoom >= kMaxZoom) return;
    m_zoom *= 2;
    // Around the middle of what was shown.
    m_offset = m_offset * 2 + kTenths / 2;
    Scroll(0);
}

void PlotView::ZoomOut()
{
    if (m_zoom <= 1) return;
    m_zoom /= 2;
    m_offset = (m_offset - kTenths / 2) / 2;
    Scroll(0);
}

void PlotView::Scroll(int tenths)
{
    // The span shown stays inside the recording planned.
    m_offset = std::clamp(m_offset + tenths, 0, (m_zoom - 1) * kTenths);
    update();
}

void PlotView::ShowAll()
{
    m_zoom = 1;
    m_offset = 0;
    update();
}

void PlotView::Reset()
{
    m_cursor.reset();
    ShowAll();
    emit cursorMoved({});
}

void PlotView::SetAutoScale(bool on)
{
    m_autoScale = on;
    update();
}

void PlotView::SetMarkers(bool on)
{
    m_markers = on;
    update();
}

void PlotView::Refresh() { update(); }

void PlotView::SetComparison(std::vector<ComparedRun> runs)
{
    m_compared = std::move(runs);
    // The cursor read the experiment, which is no longer drawn.
    Reset();
}

CAxeTemps PlotView::MakeTimeAxis(const PlotContent& content) const
{
    CAxeTemps time;
    time.m_periode = static_cast<float>(content.periodMs);
    time.m_pixGauche = m_frame.left;
    time.m_pixDroite = m_frame.right;
    const int planned = std::max(content.plannedPoints, 1);
    if (Live()) {
        // A tenth at a time, keeping the newest point in sight, once the recording outgrows the span shown.
        time.m_fenetre = std::min(planned, kLivePoints);
        if (planned > kLivePoints) {
            const int blocks = content.points / kPointsPerBlock;
            time.m_cyclesAcquis = blocks / kBlocksOfAPass;
            time.m_blocAcquis = blocks % kBlocksOfAPass;
        }
    } else {
        time.m_fenetre = planned;
        time.m_zoom = m_zoom;
        time.m_offset = m_offset;
    }
    time.Calcul();
    return time;
}

void PlotView::FitAxes(PlotContent& content) const
{
    const CEnregistrement& recording = *m_workbench.ShownElements().recording;
    for (int axis = 0; axis < 2; ++axis) {
        bool any = false;
        float low = 0, high = 0;
        for (const PlotCurve& plotted : content.curves) {
            if (plotted.axis != axis || content.points < 1) continue;
            const Curve& curve = plotted.curve;
            // The recording's own values widened by tens until all its points lie inside.
            float min = recording.LitPoint(curve.code, 0), max = min;
            recording.CalculMinMax(curve.code, content.points, min, max);
            const float a = min * curve.scale + curve.offset, b = max * curve.scale + curve.offset;
            low = any ? std::min({low, a, b}) : std::min(a, b);
            high = any ? std::max({high, a, b}) : std::max(a, b);
            any = true;
        }
        if (any) {
            content.axes[axis].min = low;
            content.axes[axis].max = high;
        }
    }
}

PlotContent PlotView::Content()
{
    PlotContent content = MakePlot(m_workbench.ShownSettings(), m_workbench.ShownElements());
    // The first shown on top.
    const std::vector<PlotCurve> shown = m_curves.Shown();
    content.curves.assign(shown.rbegin(), shown.rend());
    if (m_lab) content.overlays = m_lab->Overlays();
    if (m_autoScale) FitAxes(content);
    return content;
}

void PlotView::Render(CDC& target, int logicalWidth, double scale)
{
    m_frame = {logicalWidth, LogicalHeight(), kFrameLeft, logicalWidth - kFrameRight, kFrameTop, kFrameBottom};
    if (!m_compared.empty()) {
        PlotDC dc(target);
        dc.SetSmallestText(static_cast<int>(std::ceil(kReadableText / scale)));
        DrawComparison(dc, m_compared, m_frame);
        return;
    }
    std::lock_guard lock(m_workbench.Lock());
    m_content = Content();
    m_time = MakeTimeAxis(m_content);
    const CEnregistrement& recording = *m_workbench.ShownElements().recording;
    for (int axis = 0; axis < 2; ++axis) m_axes[axis] = PlotValueAxis(recording, m_content, m_frame, axis);
    PlotDC dc(target);
    dc.SetSmallestText(static_cast<int>(std::ceil(kReadableText / scale)));
    DrawPlot(dc, recording, m_content, m_frame, &m_time);
    // The library's annotations are boxes of a fixed size: their texts keep the size they were made for.
    dc.SetSmallestText(0);
    dc.SetClip(CRect(m_frame.left, m_frame.top, m_frame.right, m_frame.bottom));
    if (m_markers) DrawMarkers(dc);
    DrawCursor(dc);
}

void PlotView::DrawMarkers(CDC& dc)
{
    const StepFigures figures = ExperimentStep(m_workbench.ShownSettings(), m_workbench.ShownElements());
    const std::string verdict = StepVerdictText(figures, m_content.axes[0].unit);
    for (const auto& marker : StepMarkers(figures, verdict, m_axes[0], m_time)) marker->Draw(&dc);
}

void PlotView::DrawCursor(CDC& dc)
{
    if (!m_cursor) return;
    // It stands at its point of the recording, wherever the axes now put it.
    const std::optional<CPoint> point = CursorPoint(*m_cursor, m_axes, m_time);
    if (!point) return;
    m_cursor->at = *point;
    CPen pen(PS_DOT, 1, kCursorColour);
    CPen* previous = dc.SelectObject(&pen);
    dc.MoveTo(m_cursor->at.x, m_frame.top);
    dc.LineTo(m_cursor->at.x, m_frame.bottom);
    dc.SelectObject(previous);
    if (!m_cursor->curve) return;
    CGdiObject* brush = dc.SelectStockObject(NULL_BRUSH);
    const CPoint at = m_cursor->at;
    dc.Ellipse(at.x - kCursorMark, at.y - kCursorMark, at.x + kCursorMark + 1, at.y + kCursorMark + 1);
    dc.SelectObject(brush);
}

void PlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const double scale = Scale();
    painter.scale(scale, scale);
    CPainterDC dc(painter);
    Render(dc, LogicalWidth(), scale);
}

void PlotView::PlaceCursor(QPoint point)
{
    // The runs overlaid are read in their own table of figures.
    if (!m_compared.empty()) return;
    const double scale = Scale();
    const CPoint logical(static_cast<int>(point.x() / scale), static_cast<int>(point.y() / scale));
    {
        std::lock_guard lock(m_workbench.Lock());
        m_cursor = SnapCursor(*m_workbench.ShownElements().recording, m_curves.Shown(), m_axes, m_time,
                              m_content.points, m_content.periodMs, logical);
    }
    emit cursorMoved(m_cursor ? Q(CursorText(*m_cursor, m_content)) : QString());
    update();
}

void PlotView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) PlaceCursor(event->position().toPoint());
}

void PlotView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) PlaceCursor(event->position().toPoint());
}

void PlotView::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls through time, with Ctrl it zooms.
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) return;
    if (event->modifiers() & Qt::ControlModifier)
        steps > 0 ? ZoomIn() : ZoomOut();
    else
        Scroll(-steps);
    event->accept();
}

}  // namespace banc::window
