#pragma once

#include <string>

class CEidElement;
class CEnregistrement;

namespace banc {

// One column of an experiment's results: a curve code of the recording, read
// with LitPoint and shown as value x scale + offset. `factor`, when not 0, is
// a unit factor of the bench element (its LitFParam number) that the scale is
// multiplied by once the element is known: the card-unit benches' speeds and
// positions follow the encoder and units of the bench's settings.
struct Curve {
    std::string column;  // CSV header: the name with its unit
    std::string label;   // French name for plots and summaries, Latin-1
    int code;
    float scale = 1.0f;
    float offset = 0.0f;
    int factor = 0;

    float Value(const CEnregistrement& recording, int index) const;
    // The curve with its factor taken into the scale.
    Curve Resolved(CEidElement& bench) const;
};

}  // namespace banc
