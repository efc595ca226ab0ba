#include "tarvic/widgets/CteTemps.h"

#include <utility>

#include "tarvic/widgets/SynopticDraw.h"

CCteTemps::CCteTemps() : CElement(0, Type) {}

CCteTemps::CCteTemps(CPoint corner, std::string text)
    : CElement(0, tarvic::BoxAt(corner, 110, 40), Type), m_text(std::move(text))
{
}

void CCteTemps::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    tarvic::DrawAnnotation(*pDC, m_rect, "Constante de Temps", m_text, {});
}
