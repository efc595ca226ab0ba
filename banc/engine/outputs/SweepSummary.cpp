#include "engine/outputs/SweepSummary.h"

#include "engine/outputs/Results.h"
#include "engine/outputs/SweepText.h"

namespace banc {

std::string SweepSummary(const Settings& settings, const SweepResult& result, const SweepLoop& loop)
{
    std::string text = "R\xE9ponse fr\xE9quentielle, " + ExperimentTitle(settings) + " :\n";
    text += RenderTable(BodeTable(result.points, result.measureUnit + "/%"));
    if (loop.refusal.empty())
        text += "Boucle ferm\xE9" "e par le correcteur du profil :\n" + MarginsText(loop.margins);
    else
        text += "Pas de marges : " + loop.refusal + "\n";
    if (!result.missingHz.empty()) text += MissingText(result.missingHz) + "\n";
    return text;
}

}  // namespace banc
