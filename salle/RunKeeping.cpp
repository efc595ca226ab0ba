#include "salle/RunKeeping.h"

#include <tarvic/platform/Text.h>

#include <filesystem>
#include <optional>

#include "engine/outputs/RecordingArchive.h"
#include "salle/PlaceText.h"

namespace salle {

std::string MakeRoomRun(const net::Poste& poste, const net::RunEnd& run, const std::string& card,
                        banc::history::StoredRun& stored)
{
    const std::string name = "l'essai de " + poste.poste;
    banc::history::StoredRun made;
    const std::optional<banc::history::RunOutcome> outcome = banc::history::OutcomeOfWord(run.outcome);
    if (!outcome)
        return tarvic::Format("L'issue de %s est inconnue (%s) : il n'est pas gard\xE9.", name.c_str(),
                              run.outcome.c_str());
    made.outcome = *outcome;
    banc::LoadedExperiment loaded;
    if (std::string error = banc::LoadArchiveBytes(run.archive, "l'archive de " + name, loaded); !error.empty())
        return error + " Il n'est pas gard\xE9.";
    // The start as the bench's own history writes it: local time, to the second.
    made.startedAt = LocalTimeOf(run.startedAt);
    if (made.startedAt.empty()) made.startedAt = LocalTimeOf(run.time);
    made.user = run.user;
    made.host = poste.poste;
    made.room = poste.salle;
    // As the place tells its runs apart: by their start and their end.
    made.origin = run.startedAt + "/" + run.time;
    made.bench = run.bench;
    made.mode = run.mode;
    made.summary = run.settings;
    made.card = card;
    made.outcomeText = run.outcomeText;
    made.finalValue = run.finalValue;
    made.overshootPct = run.overshootPct;
    made.measureUnit = run.measureUnit;
    made.resultsJson = run.resultsJson;
    made.archive = run.archive;
    stored = std::move(made);
    return {};
}

std::string RoomHistoryPath()
{
    return std::filesystem::path(banc::history::RunHistory::DefaultPath()).replace_filename("salle.sqlite").string();
}

}  // namespace salle
