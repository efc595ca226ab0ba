#include "engine/outputs/SweepDiagram.h"

#include <tarvic/platform/Text.h>

#include <algorithm>

#include "engine/analysis/BodeModel.h"
#include "engine/outputs/SweepText.h"

namespace banc {
namespace {

constexpr COLORREF kModelPen = RGB(230, 120, 0);
constexpr COLORREF kOpenLoopPen = RGB(128, 0, 128);
// Enough for the curve to look smooth across the decades a sweep spans.
constexpr int kModelPoints = 120;

}  // namespace

std::vector<analysis::BodePoint> SweepModelCurve(const SweepResult& result)
{
    if (!result.model || result.points.empty()) return {};
    const auto [low, high] = std::minmax(result.points.front().frequencyHz, result.points.back().frequencyHz);
    return analysis::ModelCurve(*result.model, low, high, kModelPoints);
}

BodeContent SweepDiagram(const std::string& title, const SweepResult& result, const SweepLoop* loop)
{
    BodeContent content;
    content.title = "\\g" + title;
    content.gainUnit = result.measureUnit + "/%";
    content.measured = result.points;
    content.legend = tarvic::Format("Gain en %s de mesure par %% de commande, 0 dB pour 1 %s.",
                                    result.measureUnit.c_str(), content.gainUnit.c_str());
    if (result.model && !result.points.empty())
        content.curves.push_back({"Mod\xE8le identifi\xE9", kModelPen, false, SweepModelCurve(result)});
    if (loop && loop->refusal.empty()) {
        content.curves.push_back({"Boucle ouverte, correcteur x processus", kOpenLoopPen, true, loop->openLoop});
        content.margins = loop->margins;
        std::string margins = MarginsText(loop->margins);
        if (!margins.empty() && margins.back() == '\n') margins.pop_back();
        content.legend += "\n" + margins;
    }
    if (!result.missingHz.empty()) content.legend += "\n" + MissingText(result.missingHz);
    return content;
}

}  // namespace banc
