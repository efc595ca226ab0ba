#pragma once

#include <string>
#include <vector>

#include "engine/analysis/FrequencyResponse.h"
#include "engine/outputs/LabText.h"

namespace banc {

// A sweep's results for a reader, in French (decimal comma), Latin-1.

// One row per point: the frequency in Hz and rad/s, the gain in `gainUnit`
// and in dB, the phase in degrees, the distortion, and why it is not trusted.
TextTable BodeTable(const std::vector<analysis::BodePoint>& points, const std::string& gainUnit);
// Two lines: the gain margin at the phase crossover, the phase margin at the
// gain crossover, or why each is not read.
std::string MarginsText(const analysis::LoopMargins& margins);
// "Non mesur\xE9" "es : 0,0400 Hz, 0,0800 Hz." or "" when none is missing.
std::string MissingText(const std::vector<double>& missingHz);
// Three significant digits, without the zeros that would end them: "0,0008", "12,5", "10000".
std::string ShortFigure(double value);
// "0,0796 Hz", "0,0008 Hz".
std::string HertzText(double hz);

}  // namespace banc
