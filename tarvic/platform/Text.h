#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

#include "tarvic/platform/Export.h"

// Texts are single-byte Latin-1 strings. Formatting and scanning always use the
// "C" locale, whatever locale the application (or Qt) has set, so that "%f"
// writes and reads a decimal point.
namespace tarvic {

TARVIC_EXPORT std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
TARVIC_EXPORT std::string FormatV(const char* format, std::va_list args) __attribute__((format(printf, 1, 0)));

// Substring that clamps instead of throwing: a start past the end gives "",
// a negative start counts from 0, a count past the end stops at the end.
TARVIC_EXPORT std::string Mid(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t count = PTRDIFF_MAX);

// Position of `what` in `text` at or after `from`, or -1: the host string's Find.
TARVIC_EXPORT int Find(std::string_view text, std::string_view what, int from = 0);

// "%x" scan of the text: leading blanks, an optional sign, an optional 0x, then
// hexadecimal digits up to the first other character. False (and `value`
// untouched) when no digit is found.
TARVIC_EXPORT bool ScanHex(std::string_view text, std::uint32_t& value);

// "%x" scan of the field of `width` characters at `start`, clamped to the text
// so that a short reply never reads past its end.
TARVIC_EXPORT bool ScanHexField(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t width,
                                std::uint32_t& value);

// Strict reader: exactly `width` hexadecimal digits at `start`, all inside the
// text; otherwise false and `value` untouched.
TARVIC_EXPORT bool ReadHexField(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t width,
                                std::uint32_t& value);

// The text in UTF-8, for a terminal or a log outside Qt: each byte from 0x80
// up becomes its two-byte sequence.
TARVIC_EXPORT std::string Latin1ToUtf8(std::string_view latin1);

// "%f" scan: false (and `value` untouched) when the text does not begin with a number.
TARVIC_EXPORT bool ScanFloat(std::string_view text, float& value);

// "%d" scan, same contract.
TARVIC_EXPORT bool ScanInt(std::string_view text, int& value);

}  // namespace tarvic
