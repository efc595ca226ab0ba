#pragma once

#include <string>

#include "engine/history/StoredRun.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/outputs/ResultsJson.h"
#include "engine/run/Experiment.h"

namespace banc::history {

// Where a run is kept and who made it: what the face knows that the run does not.
struct RunContext {
    std::string historyPath;  // "" the default base (RunHistory::DefaultPath)
    std::string user;         // "" the login
    std::string card;         // the card's identification, "" when none was read
    std::string startedAt;    // local time, "2026-12-08 15:04:05"; "" now
};

// The login of the user running the console, else "$USER", else "inconnu".
std::string LoginName();
// The machine's name, "" when it has none.
std::string HostName();
// Local time now as the history writes it, "2026-12-08 15:04:05".
std::string LocalTimeText();

// How an experiment's end is kept.
RunOutcome OutcomeOf(const Outcome& outcome);

// The main settings on one line, for lists and legends (Latin-1): the
// controller's and the generator's descriptions without their headings, as
// "PID K1= 2.00, Ti= 5.00 s, K2= 1.000 inc ; Echelon, Valeur Repos = 0 %,Val. C =50.00 % Retard =0.100 s".
std::string SettingsLine(const Elements& elements);

// A run as the history keeps it: the settings, the elements as sent (in the
// archive's bytes), the outcome, the step figures and the JSON results.
// `lab` holds the lab work's parts; the run's own are filled in here.
StoredRun MakeStoredRun(const Settings& settings, Elements& elements, const Outcome& outcome, const RunReport& lab,
                        const RunContext& context);

struct KeptInHistory {
    long long number = 0;  // the run's number in the base, 0 when not kept
    std::string warning;   // "" when kept, else why not (Latin-1): to show, never to stop on
    StoredRun run;         // the run as kept, or as it would have been when the base failed
};

// What both faces call at the end of any run that acquired a block
// (finished, interrupted, card fault): the run goes to the base in one
// transaction. A base that cannot be opened, is locked beyond its busy
// time-out or is full gives a warning and keeps what it held; the run's own
// files are the caller's and are written whatever this says.
KeptInHistory KeepRun(const Settings& settings, Elements& elements, const Outcome& outcome, const RunReport& lab,
                      const RunContext& context);

}  // namespace banc::history
