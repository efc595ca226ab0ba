// Built against an installed library, once through its CMake package and once
// through pkg-config: every public header compiles with the flags the package
// hands out, a free function and a class of the library run.
#include <tarvic/Version.h>
#include <tarvic/tarvic.h>

#include <cstdio>
#include <memory>

int main()
{
    tarvic::SetProfile(std::make_shared<tarvic::MemoryProfile>());
    CPid pid;
    const std::string order = tarvic::Format("ESR %2.2X%2.2X", 0x0A, 0x1B);
    std::printf("tarvic %s: %s\n", TARVIC_VERSION_STRING, order.c_str());
    return pid.NbParam() > 0 ? 0 : 1;
}
