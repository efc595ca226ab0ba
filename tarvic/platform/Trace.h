#pragma once

#include <functional>
#include <string_view>

#include "tarvic/platform/Export.h"

// The debug-output channel. Texts are fixed diagnostics of the library; by
// default they go to the Qt logging category "tarvic" (debug level, off unless
// enabled with QT_LOGGING_RULES="tarvic.debug=true"). Tests install a sink of
// their own to assert them.
namespace tarvic {

using TraceSink = std::function<void(std::string_view text)>;

TARVIC_EXPORT void Trace(std::string_view text);
TARVIC_EXPORT void TraceFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Installs `sink` (an empty one restores the default) and returns the previous sink.
TARVIC_EXPORT TraceSink SetTraceSink(TraceSink sink);

}  // namespace tarvic
