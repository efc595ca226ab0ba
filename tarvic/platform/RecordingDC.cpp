#include "tarvic/platform/RecordingDC.h"

#include <iterator>

#include "tarvic/platform/FontMap.h"
#include "tarvic/platform/Text.h"

namespace {

std::string Color(COLORREF color)
{
    return tarvic::Format("rgb(%d,%d,%d)", GetRValue(color), GetGValue(color), GetBValue(color));
}

std::string Point(CPoint point) { return tarvic::Format("(%d,%d)", point.x, point.y); }

std::string Rect(const CRect& rect)
{
    return tarvic::Format("(%d,%d,%d,%d)", rect.left, rect.top, rect.right, rect.bottom);
}

std::string PenText(const LOGPEN& pen)
{
    static const char* const styles[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "null", "insideframe"};
    const bool known = pen.lopnStyle >= 0 && pen.lopnStyle < static_cast<int>(std::size(styles));
    const std::string style = known ? styles[pen.lopnStyle] : tarvic::Format("style%d", pen.lopnStyle);
    return "pen " + style + tarvic::Format(" %d ", pen.lopnWidth) + Color(pen.lopnColor);
}

std::string BrushText(const LOGBRUSH& brush)
{
    return brush.lbStyle == BS_SOLID ? "brush " + Color(brush.lbColor) : std::string("brush null");
}

// Printable ASCII as it is, every other byte as \xNN, so that a description
// is plain text whatever the drawn bytes.
std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\')
            quoted += c;
        else
            quoted += tarvic::Format("\\x%02X", byte);
    }
    return quoted + "\"";
}

std::string FontText(const LOGFONT& font)
{
    std::string text =
        tarvic::Format("%s %d/%d %d", font.lfFaceName.c_str(), font.lfHeight, font.lfWidth, font.lfWeight);
    if (font.lfItalic) text += " italic";
    if (font.lfUnderline) text += " underline";
    if (font.lfStrikeOut) text += " strike";
    if (font.lfCharSet != ANSI_CHARSET) text += tarvic::Format(" charset %d", font.lfCharSet);
    if (font.lfEscapement != 0) text += tarvic::Format(" escapement %d", font.lfEscapement);
    return text;
}

}  // namespace

std::string CRecordingDC::Call::Describe() const
{
    if (op == "text") {
        std::string line =
            "text " + Point(points.front()) + " " + Quoted(text) + " " + FontText(font) + " " + Color(textColor);
        if (textAlign != 0) line += tarvic::Format(" align %u", textAlign);
        if (bkMode == OPAQUE) line += " opaque " + Color(bkColor);
        return line;
    }
    if (op == "line") return "line " + Point(points.front()) + "-" + Point(points.back()) + " " + PenText(pen);
    if (op == "polyline") {
        std::string line = "polyline";
        for (const CPoint& point : points) line += " " + Point(point);
        return line + " " + PenText(pen);
    }
    if (op == "fill") return "fill " + Rect(rect) + " " + Color(fillColor);
    if (op == "icon") return tarvic::Format("icon %u ", iconId) + Rect(rect);
    std::string line = op + " " + Rect(rect);
    if (op == "roundrect") line += tarvic::Format(" corner %dx%d", corner.cx, corner.cy);
    return line + " " + PenText(pen) + " " + BrushText(brush);
}

CRecordingDC::CRecordingDC(Metrics metrics) : m_metrics(metrics) {}

std::vector<std::string> CRecordingDC::Descriptions() const
{
    std::vector<std::string> lines;
    lines.reserve(m_calls.size());
    for (const Call& call : m_calls) lines.push_back(call.Describe());
    return lines;
}

CSize CRecordingDC::MeasureText(const LOGFONT& font, const std::string& text) const
{
    return m_metrics == Metrics::font ? tarvic::FontTextExtent(font, text) : tarvic::FixedTextExtent(font, text);
}

CRecordingDC::Call& CRecordingDC::Record(const char* op)
{
    Call& call = m_calls.emplace_back();
    call.op = op;
    call.pen = Pen();
    call.brush = Brush();
    call.font = Font();
    call.textColor = GetTextColor();
    call.bkColor = GetBkColor();
    call.bkMode = GetBkMode();
    call.textAlign = GetTextAlign();
    return call;
}

void CRecordingDC::OutputText(CPoint at, const std::string& text)
{
    Call& call = Record("text");
    call.points = {at};
    call.text = text;
}

void CRecordingDC::OutputLine(CPoint from, CPoint to) { Record("line").points = {from, to}; }

void CRecordingDC::OutputPolyline(const std::vector<CPoint>& points) { Record("polyline").points = points; }

void CRecordingDC::OutputShape(Shape shape, const CRect& rect, CSize corner)
{
    const char* op = shape == Shape::rectangle ? "rectangle" : shape == Shape::ellipse ? "ellipse" : "roundrect";
    Call& call = Record(op);
    call.rect = rect;
    call.corner = corner;
}

void CRecordingDC::OutputFill(const CRect& rect, COLORREF color)
{
    Call& call = Record("fill");
    call.rect = rect;
    call.fillColor = color;
}

void CRecordingDC::OutputIcon(const CRect& rect, const CIcon& icon)
{
    Call& call = Record("icon");
    call.rect = rect;
    call.iconId = icon.GetID();
}
