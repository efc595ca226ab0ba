#pragma once

#include <optional>
#include <vector>

#include <tarvic/platform/DC.h>

namespace banc::window {

// The plot's drawing as the window shows it, passed on to another device
// context: texts no smaller than a height that stays readable once the plot
// is scaled down to the widget, and, while a clip is set, lines kept inside
// it (the step's marks and the cursor belong to the frame of the curves, not
// to the axes' labels around it). Everything else goes through unchanged.
class PlotDC : public CDC {
public:
    explicit PlotDC(CDC& target) : m_target(target) {}

    // 0: every text at its own height.
    void SetSmallestText(int height) { m_smallestText = height; }
    void SetClip(std::optional<CRect> clip) { m_clip = clip; }

protected:
    CSize MeasureText(const LOGFONT& font, const std::string& text) const override;
    void OutputText(CPoint at, const std::string& text) override;
    void OutputLine(CPoint from, CPoint to) override;
    void OutputPolyline(const std::vector<CPoint>& points) override;
    void OutputShape(Shape shape, const CRect& rect, CSize corner) override;
    void OutputFill(const CRect& rect, COLORREF color) override;
    void OutputIcon(const CRect& rect, const CIcon& icon) override;

private:
    LOGFONT Readable(const LOGFONT& font) const;
    // The runs of the line that lie inside the clip.
    std::vector<std::vector<CPoint>> Clipped(const std::vector<CPoint>& points) const;
    // A line, or a polyline, as it was asked for.
    void DrawRun(const std::vector<CPoint>& points, bool line);

    CDC& m_target;
    int m_smallestText = 0;
    std::optional<CRect> m_clip;
};

}  // namespace banc::window
