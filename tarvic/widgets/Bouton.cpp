#include "tarvic/widgets/Bouton.h"

#include <optional>
#include <utility>

#include "tarvic/widgets/GdiScope.h"
#include "tarvic/widgets/SynopticDraw.h"

CBouton::CBouton(int number, int left, int top, int right, int bottom, std::string caption, std::string second,
                 int value)
    : CElement(number, CRect(left, top, right, bottom), Type), m_valeur(value), m_second(std::move(second)),
      m_caption(std::move(caption))
{
}

void CBouton::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    {
        std::optional<tarvic::ScopedBrush> red;
        if (m_actif) red.emplace(*pDC, RGB(255, 0, 0));
        pDC->Rectangle(m_rect);
    }
    tarvic::DrawCaption(*pDC, m_caption, {m_rect.left + 3, m_rect.top + 3}, 20);
}

CElement* CBouton::Test(CPoint point)
{
    if (!Contains(point)) return nullptr;
    m_actif = !m_actif;
    return this;
}
