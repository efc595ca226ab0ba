#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tarvic/platform/Export.h"

// How numbers travel in the card's command and reply lines: fixed-width
// upper-case hexadecimal fields, floats truncated toward zero, 12- and 16-bit
// two's complement, percentages as output bytes. Every element encodes and
// decodes through here.
namespace tarvic {

// Truncation toward zero. A value outside the 32-bit range, an infinity or NaN
// gives INT32_MIN (0x80000000), as the card-side processors of the original
// hosts do, instead of undefined behaviour.
TARVIC_EXPORT std::int32_t TruncateToInt(double value);

// "%2.2X", "%4.4X", "%8.8X" of a value reduced to the field width.
TARVIC_EXPORT std::string Hex2(std::int32_t value);
TARVIC_EXPORT std::string Hex4(std::int32_t value);
TARVIC_EXPORT std::string Hex8(std::int32_t value);

// The low 16 bits as a signed value.
TARVIC_EXPORT std::int32_t Signed16(std::uint32_t raw);
// A 12-bit field: bit 11 set means negative (bits 12 to 15 are set first).
TARVIC_EXPORT std::int32_t Signed12(std::uint32_t raw);

// An analog output percentage as one byte: the 4-20 mA span of the air flow
// bench, and the plain 0-255 span of the water level and electrical load benches.
TARVIC_EXPORT std::int32_t PercentToByte420(float percent);
TARVIC_EXPORT std::int32_t PercentToByte(float percent);

// Reply fields: the `width` characters at `start`, scanned as hexadecimal and
// interpreted. False, and `value` untouched, when the reply has no digit there
// (a reply shorter than its layout keeps the previous values).
TARVIC_EXPORT bool ReadField8(std::string_view reply, std::ptrdiff_t start, std::int32_t& value);  // 0 to 255
TARVIC_EXPORT bool ReadField12(std::string_view reply, std::ptrdiff_t start,
                               std::int32_t& value);  // 4 digits, 12-bit signed
TARVIC_EXPORT bool ReadField16(std::string_view reply, std::ptrdiff_t start,
                               std::int32_t& value);  // 4 digits, 16-bit signed
TARVIC_EXPORT bool ReadField32(std::string_view reply, std::ptrdiff_t start,
                               std::int32_t& value);  // 8 digits, 32-bit signed

}  // namespace tarvic
