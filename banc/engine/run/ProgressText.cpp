#include "engine/run/ProgressText.h"

#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cmath>

namespace banc {

std::string Duration(double seconds)
{
    const long whole = std::lround(std::max(0.0, seconds));
    if (whole < 60) return tarvic::Format("%ld s", whole);
    return tarvic::Format("%ld min %02ld s", whole / 60, whole % 60);
}

std::string BlockProgress(int acquired, int total, double secondsPerBlock)
{
    return tarvic::Format("Bloc %d/%d, reste %s", acquired, total,
                          Duration((total - acquired) * secondsPerBlock).c_str());
}

}  // namespace banc
