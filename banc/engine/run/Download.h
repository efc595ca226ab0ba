#pragma once

#include <string>
#include <vector>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc {

// The configuration lines of an experiment, as the card takes them: each
// element's sequence (ConfFerz 0 to NbParam - 1, empty ones left out), with
// the fragments the card's protocol puts in: the bench's own after its
// sequence (the axis's "XRCG"), after the controller's sequence
// its wiring, then the bench's "TB" selector of the feedback; the recording's
// waiting time appended to its "EVE".
std::vector<std::string> ConfigurationLines(const Elements& elements, const Settings& settings);

// The recording's lines: its mode ("EM"), then its arming with the waiting
// time ("EVE"), which starts it at once when the loop runs.
std::vector<std::string> RecordingLines(const Elements& elements);

// The line that starts (run) or stops the card's loop.
std::string LoopLine(const Elements& elements, const Settings& settings, bool run);

// What a connected card is sent when one setting changed, so that it runs
// what the elements now hold.
// A parameter: the element's own command for it (ConfFerz with the
// parameter's number), or, where the element has none, its whole sequence.
// The generator's parameters are its sequence's steps, not command numbers:
// its table is computed again and the sequence sent whole.
std::vector<std::string> ParameterLines(const Elements& elements, const ParameterDef& def);
// The generator's sequence, its table computed again for the kind it holds.
std::vector<std::string> GeneratorLines(const Elements& elements);
// A card-unit bench's generator sends its step levels truncated to whole card
// units (1500 tr/min, 48.8 counts a window, would become 48: 1474.7 tr/min):
// the levels are set to the nearest whole unit, what the card then runs.
void WholeCardLevels(CGeneFonction& generator);
// The controller's action byte ("RTRE...").
std::vector<std::string> ActionLines(const Elements& elements);
// The loop's wiring and, for a closed loop, the bench's selector of the measured input.
std::vector<std::string> WiringLines(const Elements& elements, const Settings& settings);

}  // namespace banc
