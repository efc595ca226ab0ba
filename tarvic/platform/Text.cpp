#include "tarvic/platform/Text.h"

#include <locale.h>

#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace tarvic {
namespace {

// Switches the calling thread to the "C" locale for the lifetime of the object.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t CLocale()
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
        return c;
    }
    locale_t m_previous;
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string FormatV(const char* format, std::va_list args)
{
    CLocaleScope c;
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, again);
    va_end(again);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    return text;
}

std::string Format(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

std::string Mid(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t count)
{
    const auto size = static_cast<std::ptrdiff_t>(text.size());
    if (start < 0) start = 0;
    if (count <= 0 || start >= size) return {};
    if (count > size - start) count = size - start;
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
}

int Find(std::string_view text, std::string_view what, int from)
{
    if (from < 0 || static_cast<std::size_t>(from) > text.size()) return -1;
    const auto at = text.find(what, static_cast<std::size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

bool ScanHex(std::string_view text, std::uint32_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') && i + 2 < text.size() &&
        HexDigit(text[i + 2]) >= 0)
        i += 2;
    std::uint32_t result = 0;
    bool any = false;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
        result = result * 16 + static_cast<std::uint32_t>(HexDigit(text[i]));
        any = true;
    }
    if (!any) return false;
    value = negative ? 0u - result : result;
    return true;
}

bool ScanHexField(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t width, std::uint32_t& value)
{
    return ScanHex(Mid(text, start, width), value);
}

bool ReadHexField(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t width, std::uint32_t& value)
{
    if (start < 0 || width <= 0 || width > 8 || start + width > static_cast<std::ptrdiff_t>(text.size())) return false;
    std::uint32_t result = 0;
    for (std::ptrdiff_t i = start; i < start + width; ++i) {
        const int digit = HexDigit(text[static_cast<std::size_t>(i)]);
        if (digit < 0) return false;
        result = result * 16 + static_cast<std::uint32_t>(digit);
    }
    value = result;
    return true;
}

std::string Latin1ToUtf8(std::string_view latin1)
{
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

bool ScanFloat(std::string_view text, float& value)
{
    CLocaleScope c;
    const std::string bounded(text);  // strtof needs a terminated string
    char* end = nullptr;
    errno = 0;
    const float result = std::strtof(bounded.c_str(), &end);
    if (end == bounded.c_str()) return false;
    value = result;
    return true;
}

bool ScanInt(std::string_view text, int& value)
{
    const std::string bounded(text);
    char* end = nullptr;
    const long result = std::strtol(bounded.c_str(), &end, 10);
    if (end == bounded.c_str()) return false;
    value = static_cast<int>(result);
    return true;
}

}  // namespace tarvic
