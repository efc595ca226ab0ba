// libFuzzer target: every element's TraitRecept on any reply lines. A reply
// changes what the element measured, never its settings (what it archives
// and the commands it builds), and every value read back is a number.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "tarvic/control/ProcessFonction.h"
#include "tarvic/recording/Enregistrement.h"

using namespace tarvic::fuzz;

namespace {

std::unique_ptr<CEidElement> Make(std::uint8_t choice)
{
    if (choice % (kElementClassCount + 1) == kElementClassCount) return std::make_unique<CProcessFonction>("PROCESS");
    return MakeElement(choice);
}

// The settings as the element shows them: its archive and its commands.
std::string Settings(CEidElement& element)
{
    std::string settings = StoredBytes(element);
    for (int n = 0; n < 12; ++n) settings += "|" + element.ConfFerz(n);
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    UseBench(in.Byte());
    const auto element = Make(in.Byte());
    // The recording's blocks are its settings and its measurements at once:
    // its own target checks what a reply does to it.
    const bool measuresApart = element->GetRuntimeClass() != RUNTIME_CLASS(CEnregistrement);
    const std::string settings = Settings(*element);
    while (!in.Empty()) {
        element->TraitRecept(in.Text());
        if (measuresApart) Check(Settings(*element) == settings, "a reply leaves the settings alone");
        for (int n = 0; n < 24; ++n) Check(!std::isnan(element->LitSonde(n)), "a measurement is a number");
    }
    return 0;
}
