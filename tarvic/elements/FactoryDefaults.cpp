#include "tarvic/elements/FactoryDefaults.h"

#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

namespace tarvic {

namespace {

template <std::size_t N>
void WriteTexts(Profile& profile, const std::string& section, const std::array<const char*, N>& entries,
                const std::array<const char*, N>& texts)
{
    for (std::size_t i = 0; i < N; ++i) profile.WriteProfileString(section, entries[i], texts[i]);
}

}  // namespace

std::string ModeSection(char process, int mode, const char* group)
{
    return Format("%c_MODE%d_", process, mode) + group;
}

void WritePeriodDefaults(Profile& profile, int te, int tem)
{
    profile.WriteProfileInt("FERZ", "TE", te);
    profile.WriteProfileInt("ENREGISTREMENT", "TEM", tem);
}

void WriteGeneDefaults(Profile& profile, const std::string& section, const GeneDefaults& texts)
{
    static constexpr GeneDefaults entries{"ECHELON", "ACCELERATION", "RAMPE",     "FREQUENCE", "RETARD",
                                          "C_REPOS", "TE_PT",        "AMPLITUDE", "TE_SINUS"};
    profile.WriteProfileInt(section, "TYPE", 0);
    WriteTexts(profile, section, entries, texts);
}

void WritePidDefaults(Profile& profile, const std::string& section, const PidDefaults& texts)
{
    static constexpr PidDefaults entries{"KP", "KS", "TI", "TD", "KF"};
    WriteTexts(profile, section, entries, texts);
}

void WriteCorZDefaults(Profile& profile, const std::string& section)
{
    static constexpr std::array<const char*, 7> entries{"coefC0", "coefC1", "coefC2", "coefC3",
                                                        "coefB0", "coefB1", "coefB2"};
    static constexpr std::array<const char*, 7> texts{"1.0", "0.0", "0.0", "0.0", "0.0", "0.0", "0.0"};
    WriteTexts(profile, section, entries, texts);
}

}  // namespace tarvic
