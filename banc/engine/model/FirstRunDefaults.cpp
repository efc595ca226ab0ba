#include "engine/model/FirstRunDefaults.h"

#include <tarvic/platform/Text.h>

namespace banc {
namespace {

// A generator's profile entries besides its integer "TYPE".
constexpr const char* kGeneratorEntries[] = {"ECHELON", "ACCELERATION", "RAMPE",     "FREQUENCE", "RETARD",
                                             "C_REPOS", "TE_PT",        "AMPLITUDE", "TE_SINUS"};

// The profile section of a mode's generator, as the library names it.
std::string GeneratorSection(const Bench& bench, const Mode& mode)
{
    return tarvic::Format("%c_MODE%d_%s", bench.letter, mode.number, mode.generator);
}

}  // namespace

void WriteConsoleDefaults(const Bench& bench, tarvic::Profile& profile)
{
    for (const Mode& mode : bench.modes) {
        if (mode.generatorDefaultsOf < 0) continue;
        const Mode* source = FindMode(bench, std::to_string(mode.generatorDefaultsOf));
        if (!source) continue;
        const std::string from = GeneratorSection(bench, *source), to = GeneratorSection(bench, mode);
        profile.WriteProfileInt(to, "TYPE", profile.GetProfileInt(from, "TYPE", 0));
        for (const char* entry : kGeneratorEntries)
            profile.WriteProfileString(to, entry, profile.GetProfileString(from, entry, ""));
    }
}

}  // namespace banc
