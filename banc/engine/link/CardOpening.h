#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/link/CardLink.h"
#include "engine/link/EmbeddedCard.h"

namespace banc {

// The bench's simulated card, as the console starts it.
struct SimulatedCard {
    std::string program;  // the simulated card program (EmbeddedCard::Locate)
    std::string bench;    // its bench's name
    double speed = 1;     // times the clock
    std::optional<double> noise;
    std::optional<unsigned> seed;
};

// The card a face asks for: the simulated one, or the one on a serial port.
struct CardPlace {
    bool simulated = true;
    SimulatedCard card;
    std::string port;  // COMn or a device path, when not simulated
    LinkTiming timing;
};

// The link to the card once it is open, or why it is not.
struct OpenedCard {
    std::unique_ptr<CardLink> link;  // null when it did not open
    std::string error;               // why not (Latin-1); "" once open
    int errorCode = 0;               // the errno behind it, for callers that raise it
    // A port that names a device may open later (an adapter plugged in
    // again): worth trying again, unlike a name that names none or a
    // simulated card that would not start.
    bool mayComeBack = false;
};

// Opens the card of `place`: the simulated one is started in `simulated`,
// which then runs for as long as the caller keeps it (it is stopped again
// when the link does not open). Both faces of the console open their card
// here, so that they say the same things when it fails.
OpenedCard OpenCard(const CardPlace& place, EmbeddedCard& simulated);

}  // namespace banc
