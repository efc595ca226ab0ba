#include "engine/Curve.h"

#include <tarvic/recording/Enregistrement.h>

namespace banc {

float Curve::Value(const CEnregistrement& recording, int index) const
{
    return recording.LitPoint(code, index) * scale + offset;
}

}  // namespace banc
