#include "tarvic/widgets/ButtonDrawing.h"

#include <QFile>
#include <QIcon>

#include "tarvic/widgets/GdiScope.h"

namespace tarvic {

namespace {

// A one-pixel frame whose top and left edges take one colour and whose
// bottom and right edges the other.
void DrawEdge(CDC& dc, const CRect& rect, COLORREF topLeft, COLORREF bottomRight)
{
    const auto [l, t, r, b] = rect;
    dc.FillSolidRect(CRect(l, t, r - 1, t + 1), topLeft);
    dc.FillSolidRect(CRect(l, t, l + 1, b - 1), topLeft);
    dc.FillSolidRect(CRect(l, b - 1, r, b), bottomRight);
    dc.FillSolidRect(CRect(r - 1, t, r, b), bottomRight);
}

CRect Deflated(const CRect& rect, int by) { return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by}; }

// The icon's shape in one colour.
CIcon Monochrome(const CIcon& icon, COLORREF color)
{
    QImage image = icon.GetImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb ink = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = qAlpha(line[x]) >= 128 ? ink : qRgba(0, 0, 0, 0);
    }
    return CIcon(icon.GetID(), image);
}

}  // namespace

COLORREF ColorRefOf(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

ButtonColors ButtonColors::FromPalette(const QPalette& palette)
{
    return {ColorRefOf(palette.color(QPalette::Button)),   ColorRefOf(palette.color(QPalette::Light)),
            ColorRefOf(palette.color(QPalette::Midlight)), ColorRefOf(palette.color(QPalette::Dark)),
            ColorRefOf(palette.color(QPalette::Shadow)),   ColorRefOf(palette.color(QPalette::ButtonText))};
}

void DrawPushFrame(CDC& dc, const CRect& rect, bool pushed, const ButtonColors& colors)
{
    if (pushed) {
        DrawEdge(dc, rect, colors.shadow, colors.highlight);
        DrawEdge(dc, Deflated(rect, 1), colors.darkShadow, colors.light);
    } else {
        DrawEdge(dc, rect, colors.highlight, colors.darkShadow);
        DrawEdge(dc, Deflated(rect, 1), colors.light, colors.shadow);
    }
}

void DrawFrame(CDC& dc, const CRect& rect, COLORREF color) { DrawEdge(dc, rect, color, color); }

void DrawFocusRect(CDC& dc, const CRect& rect)
{
    ScopedPen dotted(dc, PS_DOT, 1, RGB(0, 0, 0));
    ScopedSelection<CBrush> hollow(dc, dynamic_cast<CBrush*>(GetStockObject(HOLLOW_BRUSH)));
    dc.Rectangle(rect);
}

void DrawDisabledText(CDC& dc, CPoint at, const std::string& text, const ButtonColors& colors)
{
    const COLORREF previous = dc.SetTextColor(colors.highlight);
    dc.TextOut(at.x + 1, at.y + 1, text);
    dc.SetTextColor(colors.shadow);
    dc.TextOut(at.x, at.y, text);
    dc.SetTextColor(previous);
}

void DrawDisabledIcon(CDC& dc, CPoint at, const CIcon& icon, CSize size, const ButtonColors& colors)
{
    dc.DrawIcon(at.x + 1, at.y + 1, Monochrome(icon, colors.highlight), size.cx, size.cy);
    dc.DrawIcon(at.x, at.y, Monochrome(icon, colors.shadow), size.cx, size.cy);
}

CIcon LoadIconResource(unsigned id, CSize size)
{
    if (id == 0) return {};
    const QString name = QString::number(id);
    QIcon icon;
    for (const char* suffix : {"", ".png", ".svg", ".ico", ".xpm", ".bmp"}) {
        const QString path = ":/icons/" + name + QString::fromLatin1(suffix);
        if (QFile::exists(path)) {
            icon = QIcon(path);
            break;
        }
    }
    if (icon.isNull()) icon = QIcon::fromTheme(name);
    if (icon.isNull()) return {};
    constexpr int defaultSize = 32;
    const QSize pixels(size.cx == 0 ? defaultSize : size.cx, size.cy == 0 ? defaultSize : size.cy);
    QImage image = icon.pixmap(pixels).toImage();
    if (image.isNull()) return {};
    return CIcon(id, image);
}

}  // namespace tarvic
