#include "tarvic/recording/AxeTemps.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "tarvic/elements/Encoding.h"

namespace {

// Blocks of one pass of the recording, points per block, points of one pass.
constexpr long long blocksPerPass = 20;
constexpr long long pointsPerBlock = 32;
constexpr long long pointsPerPass = blocksPerPass * pointsPerBlock;

int ClampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// Maps value from [fromLow, fromHigh] onto [toLow, toHigh] in integer
// arithmetic, multiplying before dividing; toLow when the first span is empty.
int Rescale(int value, int fromLow, int fromHigh, int toLow, int toHigh)
{
    const long long span = static_cast<long long>(fromHigh) - fromLow;
    if (span == 0) return toLow;
    return ClampToInt((static_cast<long long>(value) - fromLow) * (static_cast<long long>(toHigh) - toLow) / span +
                      toLow);
}

}  // namespace

void CAxeTemps::Calcul()
{
    const long long zoom = m_zoom == 0 ? 1 : m_zoom;
    const long long step = m_fenetre / (zoom * 10);
    long long scroll = 0;
    if (m_cyclesAcquis >= 1) {
        // The smallest n >= 1 with step * n + one pass >= the points acquired,
        // worked out at once rather than counted (a long count, or an endless
        // one when the step is not positive).
        const long long total =
            (static_cast<long long>(m_cyclesAcquis) * blocksPerPass + m_blocAcquis) * pointsPerBlock;
        const long long missing = total - pointsPerPass;
        scroll = (step > 0 && missing > step) ? (missing + step - 1) / step : 1;
    }
    m_nbDecal = ClampToInt(scroll);
    const long long first = (m_offset + scroll) * step;
    m_premier = ClampToInt(first);
    m_dernier = ClampToInt(first + m_fenetre / zoom);
}

int CAxeTemps::calculpx(int index) const { return Rescale(index, m_premier, m_dernier, m_pixGauche, m_pixDroite); }

int CAxeTemps::CalculRang(int column) const { return Rescale(column, m_pixGauche, m_pixDroite, m_premier, m_dernier); }

int CAxeTemps::CalculRang(float seconds) const
{
    if (m_periode == 0.0f) return 0;
    return tarvic::TruncateToInt(seconds * 1000.0f / m_periode);
}

int CAxeTemps::ConvIntFloat(float seconds) const
{
    const long long span = static_cast<long long>(m_dernier) - m_premier;
    if (m_periode == 0.0f || span == 0) return m_pixGauche;
    const float position = (seconds * 1000.0f / m_periode - static_cast<float>(m_premier)) / static_cast<float>(span);
    return tarvic::TruncateToInt(static_cast<float>(m_pixGauche) +
                                 static_cast<float>(static_cast<long long>(m_pixDroite) - m_pixGauche) * position);
}

int CAxeTemps::PasInt() const
{
    return static_cast<int>(std::llabs(static_cast<long long>(m_pixDroite) - m_pixGauche) / 10);
}

bool CAxeTemps::TestPoint(CPoint point) const { return m_pixGauche <= point.x && point.x < m_pixDroite; }
