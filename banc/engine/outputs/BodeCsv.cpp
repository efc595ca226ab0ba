#include "engine/outputs/BodeCsv.h"

#include <cmath>
#include <numbers>

#include "engine/outputs/CsvFields.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/SafeFile.h"

namespace banc {

std::string WriteBodeCsv(const std::string& path, const std::vector<analysis::BodePoint>& points, CsvFormat format)
{
    if (std::string kept = SpecialFileKept(path); !kept.empty()) return kept;
    if (std::string kept = ArchiveKept(path); !kept.empty()) return kept;
    const char separator = CsvSeparator(format);
    std::string table = CsvStart(format);
    for (const char* column : {"frequence_hz", "pulsation_rad_s", "gain", "gain_db", "phase_deg", "distorsion_pct"})
        table += CsvField(column, format) + separator;
    table += CsvField("remarque", format) + kCsvLineEnd;
    for (const analysis::BodePoint& point : points) {
        for (const double value : {point.frequencyHz, 2 * std::numbers::pi * point.frequencyHz, point.gain,
                                   point.gainDb, point.phaseDeg, point.distortionPct}) {
            AppendCsvValue(table, static_cast<float>(value), format);
            table += separator;
        }
        table += CsvField(point.flag, format) + kCsvLineEnd;
    }
    if (const int error = WriteWholeFile(path, table)) return CsvNotWritten(path, error);
    return {};
}

}  // namespace banc
