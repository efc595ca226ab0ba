#include "engine/model/NumberText.h"

#include <tarvic/platform/Text.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace banc {
namespace {

constexpr int kSignificant = 6;

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The shortest digits that give `value` back, in plain decimals.
std::string Written(float value)
{
    // The widest float or double in plain decimals: 309 digits before the point, 1074 after.
    char digits[1100];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    std::string text = error == std::errc() ? std::string(digits, end) : std::string("?");
    if (text == "-0") text = "0";
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace

bool ParseNumber(std::string_view text, double& value)
{
    std::string decimal(Trimmed(text));
    std::replace(decimal.begin(), decimal.end(), ',', '.');
    const char* begin = decimal.c_str();
    const char* end = begin + decimal.size();
    // One sign only: from_chars takes '-' but not '+'.
    if (begin != end && *begin == '+' && ++begin != end && *begin == '-') return false;
    double read = 0;
    const auto [stop, error] = std::from_chars(begin, end, read);
    if (begin == end || error != std::errc() || stop != end || !std::isfinite(read)) return false;
    value = read;
    return true;
}

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

std::string NumberText(float value) { return Written(value); }

std::string RangeText(double min, double max) { return "de " + NumberText(min) + " \xE0 " + NumberText(max); }

std::string RangeText(float min, float max) { return "de " + NumberText(min) + " \xE0 " + NumberText(max); }

}  // namespace banc
