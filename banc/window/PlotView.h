#pragma once

#include <QWidget>

#include <optional>
#include <vector>

#include <tarvic/recording/Axe.h>
#include <tarvic/recording/AxeTemps.h>

#include "engine/outputs/Comparison.h"
#include "engine/outputs/PlotImage.h"
#include "window/PlotCursor.h"

class CDC;

namespace banc::window {

class CurveList;
class LabSession;
class Workbench;

// The recording of the experiment shown, on the library's plot axes, drawn
// as the command line draws its picture, over the widget's width: while a
// run is on, the time axis follows the blocks as they come; afterwards it
// zooms and scrolls. The value axes take the measured quantity's range, or
// the curves' own (CalculMinMax) on request. A click places the cursor,
// which snaps to a curve; the step's markers show on request. Kept runs
// overlaid take the place of the experiment, as a whole, until they go.
class PlotView : public QWidget {
    Q_OBJECT

public:
    // The logical height it is drawn in: the frame from row 75 to 675, where
    // the library's annotations draw their columns, the legend and the
    // descriptions under it, in texts enlarged to stay readable.
    static constexpr int kHeight = 840;
    static constexpr int kLivePoints = 640;  // shown at once while a run is on: 20 blocks
    static constexpr int kMaxZoom = 64;

    PlotView(Workbench& workbench, CurveList& curves, QWidget* parent = nullptr);

    void ZoomIn();
    void ZoomOut();
    // By tenths of the span shown.
    void Scroll(int tenths);
    void ShowAll();
    void SetAutoScale(bool on);
    void SetMarkers(bool on);
    // Whose overlays it draws over the curves.
    void SetLab(const LabSession* lab) { m_lab = lab; }
    int Zoom() const { return m_zoom; }
    // The runs overlaid, none to show the experiment again.
    void SetComparison(std::vector<ComparedRun> runs);
    const std::vector<ComparedRun>& Compared() const { return m_compared; }

    // The logical height drawn: kHeight, or taller for the legend of many runs overlaid.
    int LogicalHeight() const;
    // Draws on a device context `logicalWidth` wide and LogicalHeight() high, shown
    // at `scale` device pixels a logical one: its texts stay readable there.
    void Render(CDC& dc, int logicalWidth, double scale = 1);
    // How the widget shows the drawing: its scale, and its width in logical units.
    double Scale() const;
    int LogicalWidth() const;
    // What the last drawing used.
    const PlotFrame& Frame() const { return m_frame; }
    const CAxeTemps& TimeAxis() const { return m_time; }
    const CAxe& ValueAxis(int index) const { return m_axes[index]; }
    const std::optional<CursorReading>& Cursor() const { return m_cursor; }
    QPoint ToWidget(CPoint logical) const;
    QSize sizeHint() const override;

public slots:
    // A new block, other curves, another experiment.
    void Refresh();
    // Another experiment: the view starts again from the whole recording.
    void Reset();

signals:
    void cursorMoved(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Holding the workbench's lock.
    PlotContent Content();
    CAxeTemps MakeTimeAxis(const PlotContent& content) const;
    void FitAxes(PlotContent& content) const;
    void PlaceCursor(QPoint point);
    void DrawMarkers(CDC& dc);
    void DrawCursor(CDC& dc);
    bool Live() const;

    Workbench& m_workbench;
    CurveList& m_curves;
    const LabSession* m_lab = nullptr;
    int m_zoom = 1;
    int m_offset = 0;  // tenths of the span shown
    bool m_autoScale = false;
    bool m_markers = false;
    PlotFrame m_frame{};
    CAxeTemps m_time;
    CAxe m_axes[2];
    PlotContent m_content;
    std::optional<CursorReading> m_cursor;
    std::vector<ComparedRun> m_compared;
};

}  // namespace banc::window
