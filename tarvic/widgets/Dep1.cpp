#include "tarvic/widgets/Dep1.h"

#include <utility>

#include "tarvic/widgets/SynopticDraw.h"

CDep1::CDep1() : CElement(0, Type) {}

CDep1::CDep1(CPoint corner, std::string text, int a, int b, int c, int d, int e)
    : CElement(0, tarvic::BoxAt(corner, 130, 80), Type), m_text(std::move(text)), m_marks{a, b, c, d, e}
{
}

void CDep1::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    const auto [a, b, c, d, e] = m_marks;
    tarvic::DrawAnnotation(*pDC, m_rect, "D\xE9passement", m_text,
                           {tarvic::PlotColumn(a), tarvic::PlotColumn(b), tarvic::PlotRow(c, d, e)});
}
