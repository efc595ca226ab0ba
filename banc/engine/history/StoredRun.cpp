#include "engine/history/StoredRun.h"

namespace banc::history {

const char* OutcomeWord(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::Complete: return "complet";
    case RunOutcome::Interrupted: return "interrompu";
    case RunOutcome::CardFault: return "d\xE9" "faut de carte";
    }
    return "";
}

std::optional<RunOutcome> OutcomeOfWord(const std::string& word)
{
    for (const RunOutcome known : {RunOutcome::Complete, RunOutcome::Interrupted, RunOutcome::CardFault})
        if (word == OutcomeWord(known)) return known;
    return std::nullopt;
}

}  // namespace banc::history
