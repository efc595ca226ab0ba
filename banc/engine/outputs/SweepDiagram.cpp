#include "engine/outputs/SweepDiagram.h"

#include <tarvic/platform/Text.h>

#include <algorithm>

#include "engine/analysis/BodeModel.h"

namespace banc {
namespace {

constexpr COLORREF kModelPen = RGB(230, 120, 0);
constexpr COLORREF kOpenLoopPen = RGB(128, 0, 128);
// Enough for the curve to look smooth across the decades a sweep spans.
constexpr int kModelPoints = 120;

std::string Hertz(double hz) { return tarvic::Format("%.3g Hz", hz); }

std::string MarginsText(const analysis::LoopMargins& margins)
{
    std::string text = "Marge de gain : ";
    if (margins.gainDb && margins.phaseCrossoverHz)
        text += tarvic::Format("%.1f dB \xE0 ", *margins.gainDb) + Hertz(*margins.phaseCrossoverHz);
    else
        text += "non lue, la phase ne passe pas -180\xB0 entre les points mesur\xE9s";
    text += "\nMarge de phase : ";
    if (margins.phaseDeg && margins.gainCrossoverHz)
        text += tarvic::Format("%.1f\xB0 \xE0 ", *margins.phaseDeg) + Hertz(*margins.gainCrossoverHz);
    else
        text += "non lue, le gain ne passe pas 0 dB entre les points mesur\xE9s";
    return text;
}

}  // namespace

BodeContent SweepDiagram(const std::string& title, const SweepResult& result, const SweepLoop* loop)
{
    BodeContent content;
    content.title = "\\g" + title;
    content.gainUnit = result.measureUnit + "/%";
    content.measured = result.points;
    content.legend = tarvic::Format("Gain en %s de mesure par %% de commande, 0 dB pour 1 %s.", result.measureUnit.c_str(),
                                    content.gainUnit.c_str());
    if (result.model && !result.points.empty()) {
        const auto [low, high] = std::minmax(result.points.front().frequencyHz, result.points.back().frequencyHz);
        content.curves.push_back(
            {"Mod\xE8le identifi\xE9", kModelPen, false, analysis::ModelCurve(*result.model, low, high, kModelPoints)});
    }
    if (loop && loop->refusal.empty()) {
        content.curves.push_back({"Boucle ouverte, correcteur x processus", kOpenLoopPen, true, loop->openLoop});
        content.margins = loop->margins;
        content.legend += "\n" + MarginsText(loop->margins);
    }
    if (!result.missingHz.empty()) {
        std::string missing;
        for (const double hz : result.missingHz) missing += (missing.empty() ? "" : ", ") + Hertz(hz);
        content.legend += "\nNon mesur\xE9" "es : " + missing + ".";
    }
    return content;
}

}  // namespace banc
