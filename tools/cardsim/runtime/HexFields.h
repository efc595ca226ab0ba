#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cardsim {

// Reads a command's arguments as fixed-width hexadecimal fields. Every field
// must be complete and hexadecimal, and `Done` tells whether exactly the
// expected text was there: a card refuses a line it cannot read exactly.
class HexFields {
public:
    explicit HexFields(std::string_view arguments) : m_text(arguments) {}

    bool Unsigned(int width, std::uint32_t& value);
    // A field as a two's-complement number of 4 * width bits.
    bool Signed(int width, std::int32_t& value);
    bool Done() const { return m_ok && m_position == m_text.size(); }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
    bool m_ok = true;
};

// A value as the card writes it in a reply field: rounded, held within the
// field's signed range, four or eight upper-case digits.
std::string Hex16(double value);
std::string Hex32(double value);

}  // namespace cardsim
