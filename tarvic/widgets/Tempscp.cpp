#include "tarvic/widgets/Tempscp.h"

#include <utility>

#include "tarvic/widgets/SynopticDraw.h"

CTempscp::CTempscp() : CElement(0, Type) {}

CTempscp::CTempscp(CPoint corner, std::string text, int a, int b, int c, int d, int e, int f)
    : CElement(0, tarvic::BoxAt(corner, 110, 40), Type),
      m_text(std::move(text)),
      m_a(a),
      m_b(b),
      m_c(c),
      m_d(d),
      m_e(e),
      m_f(f)
{
}

void CTempscp::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    using tarvic::PlotRow;
    tarvic::DrawAnnotation(*pDC, m_rect, "Temps de r\xE9ponse", m_text,
                           {tarvic::PlotColumn(m_a), PlotRow(m_b, m_e, m_f), PlotRow(m_c, m_e, m_f),
                            PlotRow(m_d, m_e, m_f)});
}
