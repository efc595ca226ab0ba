#include "tarvic/widgets/Dep1.h"

#include <utility>

#include "tarvic/widgets/SynopticDraw.h"

CDep1::CDep1() : CElement(0, Type) {}

CDep1::CDep1(CPoint corner, std::string text, int a, int b, int c, int d, int e)
    : CElement(0, tarvic::BoxAt(corner, 130, 80), Type),
      m_text(std::move(text)),
      m_a(a),
      m_b(b),
      m_c(c),
      m_d(d),
      m_e(e)
{
}

void CDep1::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    tarvic::DrawAnnotation(*pDC, m_rect, "D\xE9passement", m_text,
                           {tarvic::PlotColumn(m_a), tarvic::PlotColumn(m_b), tarvic::PlotRow(m_c, m_d, m_e)});
}
