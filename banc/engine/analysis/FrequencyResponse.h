#pragma once

#include <optional>
#include <string>
#include <vector>

namespace banc::analysis {

// One frequency of a sine sweep: the measurement's fundamental against the
// command's, estimated by least squares at the known frequency.
struct BodePoint {
    double frequencyHz = 0;
    double gain = 0;           // the measurement's amplitude per % of command amplitude
    double gainDb = 0;         // 20 log10(gain)
    double phaseDeg = 0;       // the measurement's lag is negative; unwrapped along the sweep
    double distortionPct = 0;  // the harmonics' and the rest's RMS against the fundamental's
    bool trusted = true;       // false: saturated, distorted or drowned in noise
    std::string flag;          // Latin-1: why it is not trusted, "" otherwise
};

// The margins of an open-loop transfer, read between measured points; absent
// when the curve does not cross 0 dB or -180 degrees in the range measured.
struct LoopMargins {
    std::optional<double> gainDb;            // at the phase crossover
    std::optional<double> phaseDeg;          // at the gain crossover
    std::optional<double> gainCrossoverHz;   // |L| = 1
    std::optional<double> phaseCrossoverHz;  // arg L = -180
};

}  // namespace banc::analysis
