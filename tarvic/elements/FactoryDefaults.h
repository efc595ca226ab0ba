#pragma once

#include <array>
#include <string>

namespace tarvic {

class Profile;

// What a bench's InitValeur writes besides its own section: the sampling and
// recording periods, and the settings of the generators and controllers of the
// modes the bench supports. The sections are those the generators and
// controllers read through LitGrp.

// "ECHELON", "ACCELERATION", "RAMPE", "FREQUENCE", "RETARD", "C_REPOS", "TE_PT",
// "AMPLITUDE", "TE_SINUS", in this order.
using GeneDefaults = std::array<const char*, 9>;
// "KP", "KS", "TI", "TD", "KF", in this order.
using PidDefaults = std::array<const char*, 5>;

// "%c_MODE%d_" followed by the group name, e.g. "D_MODE3_CorZ".
std::string ModeSection(char process, int mode, const char* group);

// "FERZ"/"TE" then "ENREGISTREMENT"/"TEM".
void WritePeriodDefaults(Profile& profile, int te, int tem);
// The integer "TYPE" = 0, then the nine texts.
void WriteGeneDefaults(Profile& profile, const std::string& section, const GeneDefaults& texts);
void WritePidDefaults(Profile& profile, const std::string& section, const PidDefaults& texts);
// "coefC0" "1.0", then "coefC1" to "coefC3" and "coefB0" to "coefB2" at "0.0": a unit gain.
void WriteCorZDefaults(Profile& profile, const std::string& section);

}  // namespace tarvic
