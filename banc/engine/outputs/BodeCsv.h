#pragma once

#include <string>
#include <vector>

#include "engine/analysis/FrequencyResponse.h"
#include "engine/outputs/CsvExport.h"

namespace banc {

// A sweep's table as CSV, in the formats of the time plot's: one row per
// measured frequency, "frequence_hz", "pulsation_rad_s", "gain", "gain_db",
// "phase_deg", "distorsion_pct", and "remarque" saying why a point is not
// trusted. Written whole or not at all, never over an experiment archive;
// "" or why not (Latin-1).
std::string WriteBodeCsv(const std::string& path, const std::vector<analysis::BodePoint>& points,
                         CsvFormat format = CsvFormat::Rfc4180);

}  // namespace banc
