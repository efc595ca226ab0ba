#pragma once

#include <optional>
#include <string>

namespace banc::history {

// How a kept run ended.
enum class RunOutcome {
    Complete,     // every block acquired, or what a planned run was for
    Interrupted,  // stopped on request (Ctrl-C, Arreter)
    CardFault,    // the card fell silent, went away or refused a line
};
// "complet", "interrompu", "d\xE9" "faut de carte" (Latin-1).
const char* OutcomeWord(RunOutcome outcome);
// The outcome that OutcomeWord names so; nullopt for any other word.
std::optional<RunOutcome> OutcomeOfWord(const std::string& word);

// One run as the history keeps it. Texts are Latin-1, as everywhere in the
// engine; the base stores them as UTF-8.
struct StoredRun {
    long long number = 0;   // given by the base on insertion; 0 before
    std::string startedAt;  // local time, "2026-12-08 15:04:05"
    std::string user;       // the login, or --etudiant
    std::string host;       // the PC, or the place a room's run came from
    std::string room;       // the room a run was collected from, "" for a run kept on its own PC
    // Who the run is to its place (its end time there): one collected twice is kept once. "" none.
    std::string origin;
    std::string bench;    // the bench's command-line name ("debitair")
    std::string mode;     // the mode's command-line name ("pid")
    std::string summary;  // the main settings on one line, for lists and legends
    std::string card;     // the card's identification, "" when none was read
    RunOutcome outcome = RunOutcome::Complete;
    std::string outcomeText;  // the fault's or the interruption's message, "" when complete
    // The step figures, in the measurement's unit; absent when not established.
    std::optional<double> finalValue;
    std::optional<double> overshootPct;
    std::string measureUnit;
    std::string resultsJson;  // the run's JSON results (figures, identification, tuning), UTF-8
    std::string comment;
    // The experiment archive's bytes, integrity check included: every
    // element's parameters as sent and the recorded curves, enough to redraw,
    // export and compare the run without its file.
    std::string archive;
};

}  // namespace banc::history
