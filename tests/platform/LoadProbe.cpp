// Links the library and does nothing else but one trace of its own.
#include "tarvic/platform/Trace.h"

int main()
{
    tarvic::Trace("probe\n");
    return 0;
}
