#include "tarvic/widgets/mesure.h"

#include <utility>

#include "tarvic/widgets/GdiScope.h"
#include "tarvic/widgets/SynopticDraw.h"

CMesure::CMesure(int number, int x, int y, std::string label, std::string second, int value)
    : CElement(number, CRect(x - 20, y - 30, x + 20, y + 10), Type), m_label(std::move(label)), m_centre(x, y),
      m_second(std::move(second)), m_valeur(value)
{
}

CMesure::CMesure(int number, const CRect& rect, std::string label)
    : CElement(number, rect, Type), m_label(std::move(label)), m_centre(tarvic::CentreOf(rect))
{
}

CPoint CMesure::LitPoint(int) { return m_centre; }

void CMesure::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    const auto [x, y] = m_centre;
    pDC->Ellipse(x - 8, y - 8, x + 8, y + 8);
    if (m_allume) {
        tarvic::ScopedBrush brush(*pDC, m_couleur);
        tarvic::ScopedPen pen(*pDC, PS_SOLID, 1, m_couleur);
        pDC->Ellipse(x - 5, y - 5, x + 5, y + 5);
    }
    pDC->SetBkMode(TRANSPARENT);
    tarvic::DrawCaption(*pDC, m_label, {x - 10, m_rect.top}, 20);
}
