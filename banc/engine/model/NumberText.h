#pragma once

#include <string>
#include <string_view>

namespace banc {

// A number as a person types it, on the command line or in a dialog: '.' or
// ',' as its point, an optional sign and exponent, spaces around it; false
// for anything else (nothing, letters, "2,5,1", infinities).
bool ParseNumber(std::string_view text, double& value);

// A number as a person writes it in French: a decimal comma, no exponent, no
// trailing zero ("0,00005", "32", "-63,999"). A float (a field's value or
// limit) is written with the fewest digits that give it back, so that 0.001f
// is "0,001"; a double (a figure worked out) with six significant digits, as
// printf's %g would, so that 1/3 is "0,333333".
std::string NumberText(double value);
std::string NumberText(float value);

// A field's limits in a message: "de 0,00005 \xE0 32" (Latin-1).
std::string RangeText(double min, double max);
std::string RangeText(float min, float max);

}  // namespace banc
