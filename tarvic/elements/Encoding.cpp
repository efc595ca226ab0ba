#include "tarvic/elements/Encoding.h"

#include <cmath>
#include <limits>

#include "tarvic/platform/Text.h"

namespace tarvic {

std::int32_t TruncateToInt(double value)
{
    // 2^31 itself is already out of range; -2^31 is the lowest value in range.
    if (!(value > -2147483649.0 && value < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::string Hex2(std::int32_t value) { return Format("%2.2X", static_cast<unsigned>(value) & 0xFFu); }

std::string Hex4(std::int32_t value) { return Format("%4.4X", static_cast<unsigned>(value) & 0xFFFFu); }

std::string Hex8(std::int32_t value) { return Format("%8.8X", static_cast<unsigned>(value)); }

std::int32_t Signed16(std::uint32_t raw) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(raw)); }

std::int32_t Signed12(std::uint32_t raw) { return Signed16((raw & 0x0800u) ? (raw | 0xF000u) : raw); }

std::int32_t PercentToByte420(float percent) { return TruncateToInt(percent / 100.0f * 204.0f + 51.0f); }

std::int32_t PercentToByte(float percent) { return TruncateToInt(percent / 100.0f * 255.0f); }

namespace {

template <class Interpret>
bool ReadField(std::string_view reply, std::ptrdiff_t start, std::ptrdiff_t width, std::int32_t& value,
               Interpret interpret)
{
    std::uint32_t raw = 0;
    if (!ScanHexField(reply, start, width, raw)) return false;
    value = interpret(raw);
    return true;
}

}  // namespace

bool ReadField8(std::string_view reply, std::ptrdiff_t start, std::int32_t& value)
{
    return ReadField(reply, start, 2, value, [](std::uint32_t raw) { return static_cast<std::int32_t>(raw & 0xFFu); });
}

bool ReadField12(std::string_view reply, std::ptrdiff_t start, std::int32_t& value)
{
    return ReadField(reply, start, 4, value, Signed12);
}

bool ReadField16(std::string_view reply, std::ptrdiff_t start, std::int32_t& value)
{
    return ReadField(reply, start, 4, value, Signed16);
}

bool ReadField32(std::string_view reply, std::ptrdiff_t start, std::int32_t& value)
{
    return ReadField(reply, start, 8, value, [](std::uint32_t raw) { return static_cast<std::int32_t>(raw); });
}

}  // namespace tarvic
