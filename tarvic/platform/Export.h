#pragma once

// The library is built with hidden visibility: only what carries this mark is
// part of its interface.
#if defined(TARVIC_BUILDING)
#define TARVIC_EXPORT __attribute__((visibility("default")))
#else
#define TARVIC_EXPORT
#endif
