#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace cardsim {

// The card's own time: it only moves when the card is advanced, so a test
// runs a minute of a bench in milliseconds and gets the same result each time.
using SimDuration = std::chrono::microseconds;

inline constexpr const char* kOk = "!OK";
inline constexpr const char* kError = "!Erreur";

// A simulated interface card: one reply line for every received line, and
// a state that moves on with simulated time.
class SimulatedCard {
public:
    virtual ~SimulatedCard() = default;

    // The reply, without CR LF, to one received line ("?VER", "!RD").
    virtual std::string Execute(std::string_view line) = 0;
    // Lets `elapsed` of simulated time go by.
    virtual void Advance(SimDuration elapsed) = 0;
};

}  // namespace cardsim
