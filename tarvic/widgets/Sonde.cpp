#include "tarvic/widgets/Sonde.h"

#include <algorithm>
#include <utility>

#include "tarvic/widgets/GdiScope.h"
#include "tarvic/widgets/SynopticDraw.h"

namespace {

// The probes whose box holds two rows of values.
bool HasTallBox(int number)
{
    return number == 262 || number == 271 || number == 274 || number == 275 || number == 276;
}

CRect StemBox(int number, CPoint anchor)
{
    CRect rect(anchor.x - 30, anchor.y + 20, anchor.x + 30, anchor.y + (HasTallBox(number) ? 60 : 40));
    rect.NormalizeRect();
    return rect;
}

CRect CalloutBox(CPoint anchor, CPoint box, const std::string& text)
{
    const std::size_t newline = text.find('\n');
    const bool twoLines = newline != std::string::npos;
    const int halfHeight = twoLines ? 20 : 10;
    const std::size_t longest = twoLines ? std::max(newline, text.size() - newline) : text.size();
    // Bounded so that an absurd text cannot overflow the width.
    const int width = static_cast<int>(std::min<std::size_t>(longest, 100000)) * (twoLines ? 6 : 7);
    const bool rightOfBox = anchor.x < box.x;
    return {rightOfBox ? box.x : box.x - width, box.y - halfHeight, rightOfBox ? box.x + width : box.x,
            box.y + halfHeight};
}

}  // namespace

CSonde::CSonde(int number, int x, int y, std::string label, int value)
    : CElement(number, CRect(x - 12, y - 30, x + 12, y + 10), Type), m_valeurTexte("---"),
      m_ancre(tarvic::CentreOf(m_rect)), m_label(std::move(label)), m_valeur(value)
{
}

CSonde::CSonde(int number, CPoint anchor, std::string label, int value)
    : CElement(number, StemBox(number, anchor), Type), m_valeurTexte("----"), m_ancre(anchor),
      m_label(std::move(label)), m_valeur(value)
{
}

CSonde::CSonde(CPoint anchor, CPoint box, std::string text)
    : CElement(0, CalloutBox(anchor, box, text), Type), m_valeurTexte(std::move(text)), m_ancre(anchor), m_valeur(-1),
      m_callout(true)
{
}

void CSonde::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    tarvic::ScopedBlackPen pen(*pDC);
    if (m_callout) {
        const CPoint from(m_ancre.x < m_rect.left ? m_rect.left : m_rect.right, (m_rect.top + m_rect.bottom) / 2);
        Fleche(pDC, m_ancre, from, 10, 30);
        tarvic::DrawSegment(*pDC, {m_ancre, from});
    } else {
        tarvic::DrawSegment(*pDC, {{m_ancre.x, m_ancre.y + 8}, {m_ancre.x, m_ancre.y + 20}});
    }
    tarvic::DrawValueBox(*pDC, m_rect, m_valeurTexte, 17);
}

CElement* CSonde::Test(CPoint point)
{
    if (Contains(point)) return this;
    const bool onAnchor =
        point.x >= m_ancre.x - 5 && point.x < m_ancre.x + 5 && point.y >= m_ancre.y - 5 && point.y < m_ancre.y + 5;
    return m_callout && onAnchor ? this : nullptr;
}
