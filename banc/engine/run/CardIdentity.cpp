#include "engine/run/CardIdentity.h"

#include <tarvic/platform/Text.h>

namespace banc {

std::string IdentificationIn(const CardLink::Reply& answer)
{
    if (answer.status != CardLink::Status::Replied) return {};
    const int mnemonic = tarvic::Find(answer.line, "VER");
    if (mnemonic < 0) return {};
    std::string identification = tarvic::Mid(answer.line, mnemonic + 3);
    identification.erase(0, identification.find_first_not_of(' '));
    return identification;
}

std::string AskIdentification(CardLink& link)
{
    return IdentificationIn(link.Exchange('?', "VER", {link.GetTiming().reply, 1}));
}

}  // namespace banc
