#include "tarvic/widgets/BoiteFonction.h"

#include <utility>

#include "tarvic/widgets/GdiScope.h"
#include "tarvic/widgets/SynopticDraw.h"

CBoiteFonction::CBoiteFonction(int number, int left, int top, int right, int bottom, std::string text)
    : CElement(number, CRect(left, top, right, bottom), Type), m_text(std::move(text))
{
}

void CBoiteFonction::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    constexpr CPoint corner(10, 10);
    {
        tarvic::ScopedSelection<CBrush> black(*pDC, dynamic_cast<CBrush*>(GetStockObject(BLACK_BRUSH)));
        CRect shadow = m_rect;
        shadow.OffsetRect(3, 3);
        pDC->RoundRect(shadow, corner);
    }
    {
        tarvic::ScopedBrush white(*pDC, RGB(255, 255, 255));
        pDC->RoundRect(m_rect, corner);
    }
    tarvic::DrawCaption(*pDC, m_text, {m_rect.left + 5, m_rect.top + 12}, 20);
}

int CBoiteFonction::NbParam() { return 0; }

void CBoiteFonction::MisAJour(int, std::string) {}
