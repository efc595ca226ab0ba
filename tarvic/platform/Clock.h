#pragma once

#include <cstdint>

#include "tarvic/platform/Export.h"

namespace tarvic {

// Milliseconds since an arbitrary origin, wrapping at 2^32 like the host's tick count.
TARVIC_EXPORT std::uint32_t GetTickCount();
TARVIC_EXPORT void Sleep(std::uint32_t milliseconds);

}  // namespace tarvic
