#pragma once

#include <string>
#include <vector>

#include "tarvic/platform/DC.h"
#include "tarvic/platform/Export.h"

// A device context that draws nothing and records every drawing call with its
// coordinates and the pen, brush, font and colours in force, for exact tests.
//
// Text metrics: Metrics::fixed (the default) measures with
// tarvic::FixedTextExtent, which depends on the logical font alone, so that
// expected positions can be worked out by hand; Metrics::font measures with
// the real Qt font, exactly as CPainterDC does (it needs a QGuiApplication).
class TARVIC_EXPORT CRecordingDC : public CDC {
public:
    enum class Metrics { fixed, font };

    struct Call {
        std::string op;              // text, line, polyline, rectangle, roundrect, ellipse, fill, icon
        std::vector<CPoint> points;  // text: its point; line and polyline: their points
        CRect rect;                  // figures, fills and icons
        CSize corner;                // roundrect
        std::string text;            // text
        unsigned iconId = 0;         // icon
        LOGPEN pen;
        LOGBRUSH brush;
        LOGFONT font;
        COLORREF textColor = 0;
        COLORREF bkColor = 0;
        int bkMode = 0;
        unsigned textAlign = 0;
        COLORREF fillColor = 0;  // fill

        // One line that says what the call drew, for example
        // text (10,20) "U" Times New Roman 20/6 400 rgb(0,0,0)
        // line (0,5)-(30,5) pen solid 1 rgb(0,0,0)
        std::string Describe() const;
    };

    explicit CRecordingDC(Metrics metrics = Metrics::fixed);

    const std::vector<Call>& Calls() const { return m_calls; }
    // Describe() of every call, in order.
    std::vector<std::string> Descriptions() const;
    void Clear() { m_calls.clear(); }

protected:
    CSize MeasureText(const LOGFONT& font, const std::string& text) const override;
    void OutputText(CPoint at, const std::string& text) override;
    void OutputLine(CPoint from, CPoint to) override;
    void OutputPolyline(const std::vector<CPoint>& points) override;
    void OutputShape(Shape shape, const CRect& rect, CSize corner) override;
    void OutputFill(const CRect& rect, COLORREF color) override;
    void OutputIcon(const CRect& rect, const CIcon& icon) override;

private:
    Call& Record(const char* op);

    Metrics m_metrics;
    std::vector<Call> m_calls;
};
