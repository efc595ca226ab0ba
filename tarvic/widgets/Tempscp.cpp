#include "tarvic/widgets/Tempscp.h"

#include <utility>

#include "tarvic/widgets/SynopticDraw.h"

CTempscp::CTempscp() : CElement(0, Type) {}

CTempscp::CTempscp(CPoint corner, std::string text, int a, int b, int c, int d, int e, int f)
    : CElement(0, tarvic::BoxAt(corner, 110, 40), Type), m_text(std::move(text)), m_marks{a, b, c, d, e, f}
{
}

void CTempscp::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    using tarvic::PlotRow;
    const auto [a, b, c, d, e, f] = m_marks;
    tarvic::DrawAnnotation(*pDC, m_rect, "Temps de r\xE9ponse", m_text,
                           {tarvic::PlotColumn(a), PlotRow(b, e, f), PlotRow(c, e, f), PlotRow(d, e, f)});
}
