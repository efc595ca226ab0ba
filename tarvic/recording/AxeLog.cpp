#include "tarvic/recording/AxeLog.h"

#include <cmath>
#include <utility>

#include "tarvic/elements/Encoding.h"
#include "tarvic/platform/Text.h"
#include "tarvic/recording/Equation.h"

namespace {

// A float range end such as 0.01f is a hair off its decade: within this much
// of a whole logarithm, it counts as the decade.
constexpr double kDecadeTolerance = 1e-6;
constexpr int kLabelSize = 12, kUnitSize = 14, kUnitGap = 8;
// Decades written out in full: their digits stay few enough to read.
constexpr int kWrittenOut = 3;

double PowerOfTen(int exponent) { return std::pow(10.0, exponent); }

}  // namespace

CAxeLog::CAxeLog(int pixGauche, int pixDroite, float min, float max, std::string unite, int posY, bool visible)
    : m_visible(visible), m_posY(posY), m_unite(std::move(unite)), m_pixGauche(pixGauche), m_pixDroite(pixDroite),
      m_min(min), m_max(max)
{
}

bool CAxeLog::HasLogarithm() const { return m_min > 0.0f && m_max > m_min; }

int CAxeLog::FirstExponent() const
{
    return static_cast<int>(std::ceil(std::log10(static_cast<double>(m_min)) - kDecadeTolerance));
}

int CAxeLog::LastExponent() const
{
    return static_cast<int>(std::floor(std::log10(static_cast<double>(m_max)) + kDecadeTolerance));
}

int CAxeLog::ConvIntFloat(float v) const
{
    if (!HasLogarithm()) return m_pixGauche;
    if (v < m_min) v = m_min;
    if (v > m_max) v = m_max;
    const double low = std::log10(static_cast<double>(m_min));
    const double ratio = (std::log10(static_cast<double>(v)) - low) / (std::log10(static_cast<double>(m_max)) - low);
    return tarvic::TruncateToInt(std::round(static_cast<double>(m_pixDroite - m_pixGauche) * ratio) + m_pixGauche);
}

float CAxeLog::ConvFloatInt(int column) const
{
    if (m_pixDroite == m_pixGauche || !HasLogarithm()) return m_min;
    const double ratio = (static_cast<double>(column) - m_pixGauche) / (static_cast<double>(m_pixDroite) - m_pixGauche);
    return static_cast<float>(m_min * std::pow(static_cast<double>(m_max) / m_min, ratio));
}

std::vector<float> CAxeLog::Decades() const
{
    std::vector<float> decades;
    if (!HasLogarithm()) return decades;
    for (int k = FirstExponent(); k <= LastExponent(); ++k) decades.push_back(static_cast<float>(PowerOfTen(k)));
    return decades;
}

std::vector<float> CAxeLog::Graduations() const
{
    std::vector<float> graduations;
    if (!HasLogarithm()) return graduations;
    const double low = m_min * (1 - kDecadeTolerance), high = m_max * (1 + kDecadeTolerance);
    for (int k = FirstExponent() - 1; k <= LastExponent(); ++k)
        for (int m = 1; m <= 9; ++m)
            if (const double value = m * PowerOfTen(k); value >= low && value <= high)
                graduations.push_back(static_cast<float>(value));
    return graduations;
}

bool CAxeLog::TestPoint(CPoint point) const { return m_pixGauche <= point.x && point.x <= m_pixDroite; }

void CAxeLog::AjusteDecades()
{
    if (m_min <= 0.0f || m_max < m_min) return;
    const int first = static_cast<int>(std::floor(std::log10(static_cast<double>(m_min)) + kDecadeTolerance));
    int last = static_cast<int>(std::ceil(std::log10(static_cast<double>(m_max)) - kDecadeTolerance));
    if (last <= first) last = first + 1;
    m_min = static_cast<float>(PowerOfTen(first));
    m_max = static_cast<float>(PowerOfTen(last));
}

std::string CAxeLog::TexteDecade(float decade)
{
    const int exponent = static_cast<int>(std::lround(std::log10(static_cast<double>(decade))));
    if (exponent >= 0 && exponent <= kWrittenOut) return tarvic::Format("%.0f", PowerOfTen(exponent));
    if (exponent < 0 && exponent >= -kWrittenOut) return tarvic::Format("%.*f", -exponent, PowerOfTen(exponent));
    return tarvic::Format("10\\e%d", exponent);
}

void CAxeLog::Draw(CDC* pDC) const
{
    if (!m_visible || pDC == nullptr) return;
    for (const float decade : Decades()) {
        const std::string text = TexteDecade(decade);
        CEquation label(text, CPoint(), kLabelSize);
        const int width = label.LongEquation(pDC, text);
        CEquation(text, CPoint(ConvIntFloat(decade) - width / 2, m_posY), kLabelSize).Draw(pDC, false);
    }
    CEquation unit(m_unite, CPoint(m_pixDroite + kUnitGap, m_posY), kUnitSize);
    unit.Draw(pDC, false);
}
