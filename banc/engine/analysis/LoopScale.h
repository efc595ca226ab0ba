#pragma once

namespace banc::analysis {

// How the record's units stand to the card loop's. The card's loop works in
// its own units: output counts on the analog benches (3264 for 100 %), counts
// of speed, lines and card units of command (1024 for the full command) on
// the motorised ones. A record is in the CSV's units: the measurement in its
// unit, the command in percent.
struct LoopScale {
    double measurePerLoopUnit = 100.0 / 3264;  // the record's measurement unit per loop unit
    double commandPerLoopUnit = 100.0 / 3264;  // the record's command unit per loop unit
    double commandMin = 0;                     // the loop's command limits, in loop units
    double commandMax = 3264;
};

}  // namespace banc::analysis
