#pragma once

#include <string>

#include "engine/link/CardLink.h"

namespace banc {

// What the card says it is in its reply to "?VER" ("CARDSIM 1.0"): the text
// after the mnemonic, leading blanks taken off; "" for any other answer.
std::string IdentificationIn(const CardLink::Reply& answer);

// Asks the card once, with the link's reply time: "" when it gives no identification.
std::string AskIdentification(CardLink& link);

}  // namespace banc
