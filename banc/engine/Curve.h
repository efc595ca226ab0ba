#pragma once

class CEnregistrement;

namespace banc {

// One column of an experiment's results: a curve code of the recording, read
// with LitPoint and shown as value x scale + offset (the unit change an input
// without a percent code needs; 1 and 0 otherwise).
struct Curve {
    const char* column;  // CSV header: the name with its unit
    const char* label;   // French name for plots and summaries, Latin-1
    int code;
    float scale = 1.0f;
    float offset = 0.0f;

    float Value(const CEnregistrement& recording, int index) const;
};

}  // namespace banc
