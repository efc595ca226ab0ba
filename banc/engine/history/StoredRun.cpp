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

}  // namespace banc::history
