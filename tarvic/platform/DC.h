#pragma once

#include <string>
#include <vector>

#include "tarvic/platform/Export.h"
#include "tarvic/platform/Gdi.h"
#include "tarvic/platform/Geometry.h"

// The device context: the drawing surface of the plotting, formula and
// synoptic code. It keeps the selected pen, brush and font, the text colour,
// background and alignment and the current position, and hands each drawing
// operation to its implementation with that state resolved.
//
// Starting state: black pen, white brush, system font, black text on an
// opaque white background, text aligned left/top, current position (0, 0).
class TARVIC_EXPORT CDC {
public:
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Each returns the previously selected object of that kind, or null (and
    // changes nothing) for a null or not yet created object.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CGdiObject* SelectObject(CGdiObject* object);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const { return m_pen; }
    CBrush* GetCurrentBrush() const { return m_brush; }
    CFont* GetCurrentFont() const { return m_font; }

    // Each setter returns the previous value.
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }
    int SetBkMode(int mode);  // TRANSPARENT or OPAQUE; anything else is refused (returns 0)
    int GetBkMode() const { return m_bkMode; }
    unsigned SetTextAlign(unsigned flags);
    unsigned GetTextAlign() const { return m_textAlign; }

    // Advance width and cell height of the text in the selected font.
    CSize GetTextExtent(const std::string& text) const;
    // Writes the text at the point, placed by the text alignment.
    bool TextOut(int x, int y, const std::string& text);

    CPoint MoveTo(int x, int y);  // returns the previous position
    CPoint MoveTo(CPoint point) { return MoveTo(point.x, point.y); }
    CPoint GetCurrentPosition() const { return m_position; }
    bool LineTo(int x, int y);  // and moves the current position there
    bool LineTo(CPoint point) { return LineTo(point.x, point.y); }
    bool Polyline(const CPoint* points, int count);

    // Closed figures: outlined with the pen, filled with the brush, right and
    // bottom edges excluded; the rectangle is normalised first.
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const CRect& rect) { return Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    // corner: width and height of the ellipse that rounds the corners.
    bool RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    bool RoundRect(const CRect& rect, CPoint corner)
    {
        return RoundRect(rect.left, rect.top, rect.right, rect.bottom, corner.x, corner.y);
    }
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const CRect& rect) { return Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
    // Fills without outline; a null or hollow brush fills nothing.
    void FillRect(const CRect& rect, CBrush* brush);
    void FillSolidRect(const CRect& rect, COLORREF color);

    // Draws the icon with its top-left corner at the point; a size of 0 in
    // either dimension draws 32 in that dimension.
    bool DrawIcon(int x, int y, const CIcon& icon, int cx = 0, int cy = 0);

protected:
    CDC();

    enum class Shape { rectangle, roundRect, ellipse };

    // The resolved state, for the implementations.
    const LOGPEN& Pen() const { return m_penLog; }
    const LOGBRUSH& Brush() const { return m_brushLog; }
    const LOGFONT& Font() const { return m_fontLog; }

    virtual CSize MeasureText(const LOGFONT& font, const std::string& text) const = 0;
    virtual void OutputText(CPoint at, const std::string& text) = 0;
    virtual void OutputLine(CPoint from, CPoint to) = 0;
    virtual void OutputPolyline(const std::vector<CPoint>& points) = 0;
    // corner is used by roundRect only.
    virtual void OutputShape(Shape shape, const CRect& rect, CSize corner) = 0;
    virtual void OutputFill(const CRect& rect, COLORREF color) = 0;
    virtual void OutputIcon(const CRect& rect, const CIcon& icon) = 0;

private:
    bool DrawShape(Shape shape, int left, int top, int right, int bottom, CSize corner);

    CPen* m_pen;
    CBrush* m_brush;
    CFont* m_font;
    LOGPEN m_penLog;
    LOGBRUSH m_brushLog;
    LOGFONT m_fontLog;
    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
    unsigned m_textAlign = TA_LEFT | TA_TOP;
    CPoint m_position;
};
