#include "HexFields.h"

#include <cmath>
#include <limits>

#include "tarvic/platform/Text.h"

namespace cardsim {

bool HexFields::Unsigned(int width, std::uint32_t& value)
{
    m_ok = m_ok && tarvic::ReadHexField(m_text, static_cast<std::ptrdiff_t>(m_position), width, value);
    m_position += static_cast<std::size_t>(width);
    return m_ok;
}

bool HexFields::Signed(int width, std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!Unsigned(width, raw)) return false;
    const int bits = 4 * width;
    if (bits < 32 && (raw & (1u << (bits - 1)))) raw |= ~((1u << bits) - 1);
    value = static_cast<std::int32_t>(raw);
    return true;
}

namespace {

template <class Int>
Int Saturated(double value)
{
    const double rounded = std::round(value);
    if (!(rounded == rounded)) return 0;  // NaN
    if (rounded <= std::numeric_limits<Int>::min()) return std::numeric_limits<Int>::min();
    if (rounded >= std::numeric_limits<Int>::max()) return std::numeric_limits<Int>::max();
    return static_cast<Int>(rounded);
}

}  // namespace

std::string Hex16(double value)
{
    return tarvic::Format("%4.4X", static_cast<unsigned>(static_cast<std::uint16_t>(Saturated<std::int16_t>(value))));
}

std::string Hex32(double value)
{
    return tarvic::Format("%8.8X", static_cast<std::uint32_t>(Saturated<std::int32_t>(value)));
}

}  // namespace cardsim
