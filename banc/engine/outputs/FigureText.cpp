#include "engine/outputs/FigureText.h"

#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cmath>

#include "engine/outputs/StepText.h"

namespace banc {
namespace {

constexpr int kTimeDigits = 3;
constexpr int kSettingDecimals = 3;  // the profile writes the PID's settings with "%.3f"

std::string Comma(std::string text)
{
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace

std::string DecimalText(double value, int decimals) { return Comma(tarvic::Format("%.*f", decimals, value)); }

std::string SignificantText(double value, int digits)
{
    if (value == 0 || !std::isfinite(value)) return Comma(tarvic::Format("%g", value));
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    return DecimalText(value, std::max(0, digits - 1 - magnitude));
}

std::string SecondsText(double seconds, double samplePeriod)
{
    if (samplePeriod <= 0) return SignificantText(seconds, kTimeDigits) + " s";
    return Comma(StepSeconds(static_cast<float>(seconds), static_cast<float>(samplePeriod)));
}

std::string PercentText(double percent) { return DecimalText(percent, 1) + " %"; }

std::string SettingText(float value)
{
    std::string text = tarvic::Format("%.*f", kSettingDecimals, double{value});
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return Comma(text == "-0" ? "0" : text);
}

std::string GainUnit(const analysis::ProcessModel& model, const std::string& measureUnit,
                     const std::string& commandUnit)
{
    return measureUnit + (model.kind == analysis::ModelKind::Integrating ? "/s/" : "/") + commandUnit;
}

}  // namespace banc
