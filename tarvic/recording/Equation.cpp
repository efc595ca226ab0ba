#include "tarvic/recording/Equation.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

constexpr char integralSign = '\xF2';  // in the symbol face

bool IsLatin1Letter(unsigned char c)
{
    if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
    return c == 0xAA || c == 0xB5 || c == 0xBA || c == 0xB0;
}

bool IsTextChar(unsigned char c)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    if (c >= 0x80) return IsLatin1Letter(c);
    return std::string_view("+-. =(),%':/\"").find(static_cast<char>(c)) != std::string_view::npos;
}

// The characters from `from` up to `to` (excluded), clamped to the text.
std::string_view Slice(std::string_view text, std::size_t from, std::size_t to)
{
    from = std::min(from, text.size());
    to = std::clamp(to, from, text.size());
    return text.substr(from, to - from);
}

}  // namespace

CEquation::CEquation(std::string text, CPoint position, int size)
    : m_size(size), m_text(std::move(text)), m_position(position)
{
    InitFont();
}

void CEquation::InitFont()
{
    m_logFont = LOGFONT{};
    m_logFont.lfHeight = m_size;
    m_logFont.lfWidth = m_size / 3;
    m_logFont.lfWeight = FW_NORMAL;
    m_logFont.lfQuality = PROOF_QUALITY;
    m_logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_ROMAN;
    m_logFont.lfFaceName = "Times New Roman";
}

void CEquation::Normal()
{
    InitFont();
    m_style = RunStyle::normal;
}

void CEquation::TextColor(CDC* pDC, int code)
{
    static constexpr COLORREF colors[] = {RGB(0, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 128, 0),
                                          RGB(192, 192, 192)};
    if (pDC == nullptr || code < '0' || code > '4') return;
    pDC->SetTextColor(colors[code - '0']);
}

void CEquation::SelectNameFont(int code)
{
    if (code == '0') m_logFont.lfFaceName = "Times New Roman";
    if (code == '1') m_logFont.lfFaceName = "Symbol";
}

void CEquation::Draw(CDC* pDC, bool keepColor)
{
    if (pDC == nullptr) return;
    m_pOldFont = pDC->GetCurrentFont();
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    if (!keepColor) pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkMode(TRANSPARENT);

    const std::string_view text = m_text;
    CPoint at = m_position;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('{', i);
        if (open != std::string_view::npos && Fraction(pDC, i, open, at)) continue;
        // No fraction (or one cut short, drawn plainly): lines up to the end.
        const std::size_t newline = text.find('\n', i);
        Affiche(pDC, Slice(text, i, newline), at);
        if (newline == std::string_view::npos) break;
        at = CPoint(m_position.x, at.y + m_size);
        i = newline + 1;
    }
    pDC->SelectObject(m_pOldFont);
}

bool CEquation::Fraction(CDC* pDC, std::size_t& next, std::size_t open, CPoint& at)
{
    const std::string_view text = m_text;
    const std::size_t close = text.find('}', open + 1);
    if (close == std::string_view::npos || close + 3 > text.size()) return false;
    const std::size_t end = text.find('}', close + 3);
    if (end == std::string_view::npos) return false;

    // The marker right before "{" is not drawn.
    Affiche(pDC, Slice(text, next, open == 0 ? 0 : open - 1), at);
    const std::string_view numerator = Slice(text, open + 1, close);
    const std::string_view denominator = Slice(text, close + 3, end);
    const int numeratorWidth = Measure(pDC, numerator);
    const int denominatorWidth = Measure(pDC, denominator);
    const int width = std::max(numeratorWidth, denominatorWidth);
    CPoint numeratorAt(at.x, at.y - 2 * m_size / 3);
    CPoint denominatorAt(at.x, at.y + m_size / 2);
    pDC->MoveTo(at.x, at.y + m_size / 2);
    pDC->LineTo(at.x + width, at.y + m_size / 2);
    if (numeratorWidth < denominatorWidth)
        numeratorAt.x += (denominatorWidth - numeratorWidth) / 2;
    else
        denominatorAt.x += (numeratorWidth - denominatorWidth) / 2;
    at.x += width;
    Affiche(pDC, numerator, numeratorAt);
    Affiche(pDC, denominator, denominatorAt);
    next = end + 1;
    return true;
}

int CEquation::LongEquation(CDC* pDC, const std::string& text) { return Measure(pDC, text); }

int CEquation::Measure(CDC* pDC, std::string_view text)
{
    if (pDC == nullptr) return 0;
    Normal();
    m_pOldFont = pDC->GetCurrentFont();
    CPoint at(0, 0);
    Scan(pDC, text, at, false);
    return at.x;
}

void CEquation::Affiche(CDC* pDC, std::string_view line, CPoint& at) { Scan(pDC, line, at, true); }

void CEquation::Scan(CDC* pDC, std::string_view line, CPoint& at, bool draw)
{
    std::size_t runStart = std::string_view::npos;
    const auto endRun = [&](std::size_t end) {
        if (runStart == std::string_view::npos) return;
        const int shift = m_style == RunStyle::index ? 3 : m_style == RunStyle::exponent ? -9 : 0;
        at.x += Piece(pDC, m_logFont, Slice(line, runStart, end), at, shift, draw);
        Normal();
        runStart = std::string_view::npos;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (IsTextChar(static_cast<unsigned char>(line[i]))) {
            if (runStart == std::string_view::npos) runStart = i;
            continue;
        }
        endRun(i);
        if (line[i] == '|') {
            at.x += Integral(pDC, at, draw);
            continue;
        }
        if (line[i] != '\\' || i + 1 >= line.size()) continue;
        const bool hasCode = i + 2 < line.size();
        switch (line[i + 1]) {
        case 'c':
            if (hasCode && draw) TextColor(pDC, static_cast<unsigned char>(line[i + 2]));
            i += hasCode ? 2 : 1;
            break;
        case 'e':
            m_style = RunStyle::exponent;
            ++i;
            break;
        case 'f':
            if (hasCode) SelectNameFont(static_cast<unsigned char>(line[i + 2]));
            i += hasCode ? 2 : 1;
            break;
        case 'g':
            m_logFont.lfWeight = FW_BOLD;
            ++i;
            break;
        case 'i':
            m_logFont.lfHeight = m_size - 3;
            m_logFont.lfWidth = (m_size - 3) / 3;
            m_style = RunStyle::index;
            ++i;
            break;
        case 'n':
            Normal();
            ++i;
            break;
        default:  // only the backslash is consumed: the letter is read as usual
            break;
        }
    }
    endRun(line.size());
}

int CEquation::Integral(CDC* pDC, CPoint at, bool draw)
{
    LOGFONT font = m_logFont;
    font.lfFaceName = "Symbol";
    font.lfHeight = 2 * m_size;
    font.lfWidth = 2 * m_size / 3;
    return Piece(pDC, font, std::string_view(&integralSign, 1), at, -4, draw);
}

int CEquation::Piece(CDC* pDC, const LOGFONT& font, std::string_view text, CPoint at, int shiftDivisor, bool draw)
{
    CFont created;
    created.CreateFontIndirect(&font);
    pDC->SelectObject(&created);
    const std::string piece(text);
    CSize extent = pDC->GetTextExtent(piece);
    if (extent.cy == 0) extent.cy = m_size + 2;
    if (extent.cx == 0)
        extent.cx =
            static_cast<int>(std::min<long long>(static_cast<long long>(text.size()) * m_size / 3 + 1, INT_MAX));
    if (draw) pDC->TextOut(at.x, at.y + (shiftDivisor == 0 ? 0 : extent.cy / shiftDivisor), piece);
    pDC->SelectObject(m_pOldFont);
    return extent.cx;
}
