#include "tarvic/widgets/indeBoite.h"

#include "tarvic/widgets/SynopticDraw.h"

namespace {

// The box that sits at the bottom of its column has nothing under it.
constexpr int numberWithoutArrow = 253;

}  // namespace

CIndeBoite::CIndeBoite(int number, int x, int y, std::string label, int value)
    : CElement(number, tarvic::BoxAt({x, y}, 60, 20), Type), m_valeur(value), m_label(std::move(label))
{
}

void CIndeBoite::Draw(CDC* pDC) const
{
    if (pDC == nullptr || !m_affiche) return;
    if (m_number != numberWithoutArrow) {
        const int cx = (m_rect.left + m_rect.right) / 2;
        const int tip = m_rect.bottom + 20;
        tarvic::DrawSegment(*pDC, {{cx, m_rect.bottom}, {cx, tip}});
        const CPoint head[] = {{cx - 4, tip - 4}, {cx, tip}, {cx + 4, tip - 4}};
        pDC->Polyline(head, 3);
    }
    tarvic::DrawValueBox(*pDC, m_rect, m_valeurTexte, 20);
}

CElement* CIndeBoite::Test(CPoint point) { return m_affiche ? CElement::Test(point) : nullptr; }
