// Announces the load and unload of the library on the debug-output channel.
// The runtime classes register themselves by name while the library's static
// objects are built, so that by the time the loading application runs, every
// class can be created from the name an archive holds.
#include "tarvic/platform/Trace.h"

namespace {

struct LibraryLifetime {
    LibraryLifetime() { tarvic::Trace("TARVIC.DLL Initializing!\n"); }
    ~LibraryLifetime() { tarvic::Trace("TARVIC.DLL Terminating!\n"); }
};

const LibraryLifetime lifetime;

}  // namespace
