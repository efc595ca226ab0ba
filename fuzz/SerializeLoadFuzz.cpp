// libFuzzer target: the archive load of every element and of a recording's
// block. A load that fails changes nothing; one that succeeds stores bytes
// that load into a fresh object and store the same again; what was loaded is
// then used as an application would use it.
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "tarvic/recording/BlocPoint.h"

using namespace tarvic::fuzz;

namespace {

std::unique_ptr<CObject> Make(std::uint8_t choice)
{
    if (choice % (kElementClassCount + 1) == kElementClassCount) return std::make_unique<CBlocPoint>();
    return MakeElement(choice);
}

// Every operation that turns loaded numbers into commands, texts and values.
void Use(CObject& object)
{
    auto* element = dynamic_cast<CEidElement*>(&object);
    if (!element) return;
    const int commands = element->NbParam();
    for (int n = 0; n < commands + 4; ++n) element->ConfFerz(n);
    for (int n = 100; n < 110; ++n) element->ConfFerz(n);
    for (int n = 1000; n < 1010; ++n) element->ConfFerz(n);
    element->LitConfiguration(0);
    element->LitConfiguration(1);
    for (int n = 0; n < 4; ++n) element->DmdMesure(n);
    for (int n = 0; n < 24; ++n) element->LitSonde(n);
    for (int n = 0; n < 24; ++n) {
        float min = 0.0f, max = 0.0f;
        element->LitMinMax(n, min, max);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    UseBench(in.Byte());
    const std::uint8_t choice = in.Byte();
    const std::string record = in.Rest();

    const auto object = Make(choice);
    const std::string before = StoredBytes(*object);
    if (!Load(*object, record)) {
        Check(StoredBytes(*object) == before, "a failed load changes nothing");
        return 0;
    }
    const std::string stored = StoredBytes(*object);
    const auto fresh = Make(choice);
    Check(Load(*fresh, stored), "what was loaded loads again");
    Check(StoredBytes(*fresh) == stored, "store, load, store gives the same bytes");
    Use(*object);
    return 0;
}
