#include "report/ReportText.h"

#include <tarvic/platform/DC.h>
#include <tarvic/platform/Gdi.h>

#include <algorithm>

namespace banc::report {
namespace {

LOGFONT Face(TextStyle style)
{
    LOGFONT font;
    font.lfHeight = style.size;
    font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_ROMAN;
    font.lfFaceName = "Times New Roman";
    return font;
}

// The style's font selected for the scope of one measure or drawing.
class SelectedFace {
public:
    SelectedFace(CDC& dc, TextStyle style) : m_dc(dc)
    {
        const LOGFONT log = Face(style);
        m_font.CreateFontIndirect(&log);
        m_previous = dc.SelectObject(&m_font);
    }
    ~SelectedFace()
    {
        if (m_previous) m_dc.SelectObject(m_previous);
    }
    SelectedFace(const SelectedFace&) = delete;
    SelectedFace& operator=(const SelectedFace&) = delete;

private:
    CDC& m_dc;
    CFont m_font;
    CFont* m_previous = nullptr;
};

int Width(CDC& dc, const std::string& text) { return dc.GetTextExtent(text).cx; }

// Appends the words of one paragraph, a line at a time.
void WrapParagraph(CDC& dc, const std::string& paragraph, int width, std::vector<std::string>& lines)
{
    std::string line;
    std::size_t from = 0;
    while (from <= paragraph.size()) {
        std::size_t end = paragraph.find(' ', from);
        if (end == std::string::npos) end = paragraph.size();
        std::string word = paragraph.substr(from, end - from);
        from = end + 1;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (Width(dc, joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        // A word wider than the line goes on lines of its own, cut where it must.
        while (word.size() > 1 && Width(dc, word) > width) {
            std::size_t fits = 1;
            while (fits < word.size() && Width(dc, word.substr(0, fits + 1)) <= width) ++fits;
            lines.push_back(word.substr(0, fits));
            word.erase(0, fits);
        }
        line = word;
    }
    lines.push_back(line);
}

}  // namespace

CSize TextExtent(CDC& dc, const std::string& text, TextStyle style)
{
    SelectedFace face(dc, style);
    return dc.GetTextExtent(text);
}

void DrawText(CDC& dc, const std::string& text, CPoint at, TextStyle style)
{
    SelectedFace face(dc, style);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.TextOut(at.x, at.y, text);
}

std::vector<std::string> WrapText(CDC& dc, const std::string& text, int width, TextStyle style)
{
    SelectedFace face(dc, style);
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        WrapParagraph(dc, text.substr(from, end - from), width, lines);
        from = end + 1;
    }
    // A last line feed ends the last line; it opens none.
    if (!text.empty() && text.back() == '\n') lines.pop_back();
    return lines;
}

int LineHeight(CDC& dc, TextStyle style) { return std::max(style.size, TextExtent(dc, "X\xC9gj", style).cy); }

}  // namespace banc::report
