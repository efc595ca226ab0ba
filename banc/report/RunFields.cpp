#include "report/RunFields.h"

#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include "engine/outputs/Results.h"

namespace banc::report {

std::string RunName(long long number)
{
    return number > 0 ? tarvic::Format("Essai n\xB0 %lld", number) : std::string("Essai");
}

std::string OutcomeText(const history::StoredRun& run)
{
    std::string text;
    switch (run.outcome) {
    case history::RunOutcome::Complete: text = "complet"; break;
    case history::RunOutcome::Interrupted: text = "interrompu"; break;
    case history::RunOutcome::CardFault: text = "d\xE9" "faut de la carte"; break;
    }
    return run.outcomeText.empty() ? text : text + " : " + run.outcomeText;
}

std::vector<std::pair<std::string, std::string>> RunFields(const history::StoredRun& run, const Settings& settings,
                                                           Elements& elements)
{
    const auto known = [](const std::string& text, const char* otherwise) { return text.empty() ? otherwise : text; };
    std::string mode = tarvic::Format("%d : %s", settings.mode->number, settings.mode->controller->label);
    if (settings.mode->controller->closedLoop) mode += std::string(", mesure : ") + settings.Measure().label;
    CEnregistrement& recording = *elements.recording;
    const std::string recorded = tarvic::Format("%d blocs sur %d, un point toutes les %d ms", BlocksAcquired(recording),
                                                recording.LitParam(2), PeriodMs(recording));
    return {{"Banc", settings.bench->title},
            {"Mode", mode},
            {"Date", known(run.startedAt, "inconnue")},
            {"Utilisateur", known(run.user, "inconnu")},
            {"Poste", known(run.host, "inconnu")},
            {"Carte", known(run.card, "non identifi\xE9" "e")},
            {"Issue", OutcomeText(run)},
            {"Enregistrement", recorded},
            {"R\xE9glages", known(run.summary, "-")}};
}

}  // namespace banc::report
