#pragma once

#include <string>

namespace banc {

// A number as a French reader writes it in a sentence: a decimal comma,
// six significant digits, no exponent and no trailing zeros ("0,00005",
// "63,999", "1000000000"), for limits and figures in messages.
std::string NumberText(double value);

}  // namespace banc
