#include "tarvic/recording/Axe.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "tarvic/elements/Encoding.h"
#include "tarvic/platform/Text.h"
#include "tarvic/recording/Equation.h"

CAxe::CAxe(int pixMin, int pixMax, float min, float max, std::string unite, int posX, bool visible, int decimales)
    : m_visible(visible), m_decimales(decimales), m_posX(posX), m_unite(std::move(unite)), m_pixMin(pixMin),
      m_pixMax(pixMax), m_min(min), m_max(max)
{
}

int CAxe::ConvIntFloat(float v) const
{
    if (v < m_min) v = m_min;
    if (v > m_max) v = m_max;
    const float span = m_max - m_min;
    if (span == 0.0f) return m_pixMin;
    const float ratio = (v - m_min) / span;
    return tarvic::TruncateToInt(static_cast<float>(m_pixMax - m_pixMin) * ratio + static_cast<float>(m_pixMin));
}

float CAxe::ConvFloatInt(int row) const
{
    const float span = static_cast<float>(m_pixMax) - static_cast<float>(m_pixMin);
    if (span == 0.0f) return m_min;
    return m_min + (m_max - m_min) * ((static_cast<float>(row) - static_cast<float>(m_pixMin)) / span);
}

int CAxe::PasInt() const { return static_cast<int>(std::llabs(static_cast<long long>(m_pixMax) - m_pixMin) / 10); }

float CAxe::PasFloat() const { return (m_max - m_min) / 10.0f; }

bool CAxe::TestPoint(CPoint point) const { return m_pixMax <= point.y && point.y <= m_pixMin; }

void CAxe::AjustePlage(float percent)
{
    const float widening = (m_max - m_min) * percent / 100.0f;
    m_max += widening;
    m_min -= widening;
}

std::string CAxe::UniteValeur(int row, int first) const
{
    if (!m_visible) return {};
    constexpr int mostDecimals = 20;
    const int decimals = std::clamp(m_decimales, 0, mostDecimals);
    const std::string value = tarvic::Format("%.*f ", decimals, static_cast<double>(ConvFloatInt(row)));
    return (first == 1 ? value : ", " + value) + m_unite;
}

void CAxe::Draw(CDC* pDC) const
{
    if (!m_visible || pDC == nullptr) return;
    const int rowStep = PasInt();
    const float valueStep = PasFloat();
    for (int i = 0; i <= 10; ++i) {
        const float value = static_cast<float>(i) * valueStep + m_min;
        CEquation label(tarvic::Format("%.0f", static_cast<double>(value)), CPoint(m_posX, m_pixMin - 7 - i * rowStep),
                        12);
        label.Draw(pDC, false);
    }
    CEquation unit(m_unite, CPoint(m_posX, m_pixMax - 18), 14);
    unit.Draw(pDC, false);
}
