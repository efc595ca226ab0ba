#pragma once

#include <QPainter>

#include "tarvic/platform/DC.h"
#include "tarvic/platform/Export.h"

// The device context that paints through a QPainter: on a widget in its paint
// event, or on a QImage. The painter's state is saved on construction and put
// back on destruction; in between the context draws aliased, as the drawings
// were designed, with antialiased text.
class TARVIC_EXPORT CPainterDC : public CDC {
public:
    explicit CPainterDC(QPainter& painter);
    ~CPainterDC() override;

protected:
    CSize MeasureText(const LOGFONT& font, const std::string& text) const override;
    void OutputText(CPoint at, const std::string& text) override;
    void OutputLine(CPoint from, CPoint to) override;
    void OutputPolyline(const std::vector<CPoint>& points) override;
    void OutputShape(Shape shape, const CRect& rect, CSize corner) override;
    void OutputFill(const CRect& rect, COLORREF color) override;
    void OutputIcon(const CRect& rect, const CIcon& icon) override;

private:
    void UsePen();
    void UseBrush();

    QPainter& m_painter;
};
