#include "engine/outputs/SweepText.h"

#include <numbers>

#include "engine/outputs/FigureText.h"

namespace banc {
namespace {

constexpr int kDigits = 3;
constexpr int kDecibelDecimals = 1, kDegreeDecimals = 1;

}  // namespace

std::string ShortFigure(double value)
{
    std::string text = SignificantText(value, kDigits);
    if (text.find(',') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == ',') text.pop_back();
    }
    return text;
}

std::string HertzText(double hz) { return ShortFigure(hz) + " Hz"; }

TextTable BodeTable(const std::vector<analysis::BodePoint>& points, const std::string& gainUnit)
{
    TextTable table;
    // The Latin-1 page has no omega: w, as the lessons write it on a keyboard.
    table.header = {"f (Hz)",         "w (rad/s)", "gain (" + gainUnit + ")", "gain (dB)", "phase (\xB0)",
                    "distorsion (%)", "remarque"};
    for (const analysis::BodePoint& point : points)
        table.rows.push_back({SignificantText(point.frequencyHz, kDigits),
                              SignificantText(2 * std::numbers::pi * point.frequencyHz, kDigits),
                              SignificantText(point.gain, kDigits), DecimalText(point.gainDb, kDecibelDecimals),
                              DecimalText(point.phaseDeg, kDegreeDecimals), DecimalText(point.distortionPct, 1),
                              point.flag});
    return table;
}

std::string MarginsText(const analysis::LoopMargins& margins)
{
    std::string text = "Marge de gain : ";
    if (margins.gainDb && margins.phaseCrossoverHz)
        text += DecimalText(*margins.gainDb, kDecibelDecimals) + " dB \xE0 " + HertzText(*margins.phaseCrossoverHz);
    else
        text += "non lue, la phase ne passe pas -180\xB0 entre les points mesur\xE9s";
    text += "\nMarge de phase : ";
    if (margins.phaseDeg && margins.gainCrossoverHz)
        text += DecimalText(*margins.phaseDeg, kDegreeDecimals) + "\xB0 \xE0 " + HertzText(*margins.gainCrossoverHz);
    else
        text += "non lue, le gain ne passe pas 0 dB entre les points mesur\xE9s";
    return text + "\n";
}

std::string MissingText(const std::vector<double>& missingHz)
{
    if (missingHz.empty()) return {};
    std::string list;
    for (const double hz : missingHz) list += (list.empty() ? "" : ", ") + HertzText(hz);
    return "Non mesur\xE9" "es : " + list + ".";
}

}  // namespace banc
