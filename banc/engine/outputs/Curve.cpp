#include "engine/outputs/Curve.h"

#include <tarvic/elements/EidElement.h>
#include <tarvic/recording/Enregistrement.h>

namespace banc {

float Curve::Value(const CEnregistrement& recording, int index) const
{
    return recording.LitPoint(code, index) * scale + offset;
}

Curve Curve::Resolved(CEidElement& bench) const
{
    Curve resolved = *this;
    float value = 1.0f;
    if (factor != 0) bench.LitFParam(factor, value);
    resolved.scale *= value;
    resolved.factor = 0;
    return resolved;
}

}  // namespace banc
