#include "engine/NumberText.h"

#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cmath>

namespace banc {
namespace {

constexpr int kSignificant = 6;

}  // namespace

std::string NumberText(double value)
{
    if (!std::isfinite(value)) return tarvic::Format("%g", value);
    // The decimals that keep six significant digits, none for whole numbers of seven digits and more.
    const int magnitude = value == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, kSignificant - 1 - magnitude);
    std::string text = tarvic::Format("%.*f", decimals, value);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    std::replace(text.begin(), text.end(), '.', ',');
    return text == "-0" ? "0" : text;
}

}  // namespace banc
