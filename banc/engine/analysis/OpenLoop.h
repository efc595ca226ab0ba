#pragma once

#include <complex>
#include <functional>
#include <vector>

#include "engine/analysis/FrequencyResponse.h"
#include "engine/analysis/LoopScale.h"
#include "engine/analysis/Prediction.h"

namespace banc::analysis {

// The card's PID in the record's units (% of command per unit of measurement)
// at `hz`, as it runs it every `pid.period`: the integral summed sample by
// sample, the derivative through its filter, and the hold of its command
// until the next sample.
std::complex<double> CardPidResponse(const CardPid& pid, const LoopScale& scale, double hz);

// The open loop controller x process at each measured point of the process.
std::vector<BodePoint> OpenLoop(const std::vector<BodePoint>& process,
                                const std::function<std::complex<double>(double hz)>& controller);

// The margins of an open loop read between its trusted points: the gain and the
// phase interpolated linearly against the logarithm of the frequency, the
// first crossing of 0 dB and of -180 degrees from the low frequencies.
LoopMargins MarginsOf(const std::vector<BodePoint>& openLoop);

}  // namespace banc::analysis
