#include "engine/outputs/CsvExport.h"

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include "engine/model/Elements.h"
#include "engine/outputs/CsvFields.h"
#include "engine/outputs/RecordingArchive.h"

namespace banc {
namespace {

// Milliseconds as exact seconds: 12.345, never 12.344999.
void AppendTime(std::string& row, long long ms, CsvFormat format)
{
    row += tarvic::Format("%lld%c%03lld", ms / 1000, CsvDecimalPoint(format), ms % 1000);
}

}  // namespace

const std::vector<CsvFormatChoice>& CsvFormats()
{
    static const std::vector<CsvFormatChoice> formats = {
        {"rfc4180", CsvFormat::Rfc4180},
        {"fr", CsvFormat::French},
    };
    return formats;
}

const CsvFormatChoice* FindCsvFormat(std::string_view name)
{
    for (const auto& choice : CsvFormats())
        if (name == choice.name) return &choice;
    return nullptr;
}

std::string CsvWriter::Open(const std::string& path, std::vector<Curve> columns, int periodMs, CsvFormat format)
{
    Abandon();
    if (std::string kept = SpecialFileKept(path); !kept.empty()) return kept;
    if (std::string kept = ArchiveKept(path); !kept.empty()) return kept;
    m_path = path;
    if (const int error = m_file.Create(path)) return CsvNotWritten(path, error);
    m_columns = std::move(columns);
    m_periodMs = periodMs;
    m_format = format;
    m_blocks = 0;
    std::string header = CsvStart(format) + CsvField("temps_s", format);
    for (const auto& column : m_columns) header += CsvSeparator(format) + CsvField(column.column, format);
    header += kCsvLineEnd;
    m_error = m_file.Append(header);
    return {};
}

bool CsvWriter::WriteBlock(const CEnregistrement& recording, int block)
{
    if (!m_file.IsOpen() || m_error != 0) return false;
    std::string rows;
    for (int point = 0; point < kPointsPerBlock; ++point) {
        const int index = block * kPointsPerBlock + point;
        AppendTime(rows, static_cast<long long>(index) * m_periodMs, m_format);
        for (const auto& column : m_columns) {
            rows += CsvSeparator(m_format);
            AppendCsvValue(rows, column.Value(recording, index), m_format);
        }
        rows += kCsvLineEnd;
    }
    m_error = m_file.Append(rows);
    if (m_error == 0) ++m_blocks;
    return m_error == 0;
}

std::string CsvWriter::Finish()
{
    if (!m_file.IsOpen()) return {};
    const int failure = m_error;
    // A header alone keeps nothing of the run.
    if (failure != 0 && m_blocks == 0) {
        Abandon();
        return CsvNotWritten(m_path, failure);
    }
    if (const int error = m_file.Commit()) return CsvNotWritten(m_path, error);
    if (failure == 0) return {};
    return tarvic::Format(
        "Impossible d'\xE9" "crire %s en entier : %s ; il garde ses %d premi\xE8res lignes de mesures.", m_path.c_str(),
        tarvic::FileErrorReason(failure, tarvic::FileUse::Write).c_str(), m_blocks * kPointsPerBlock);
}

std::string WriteCsv(const std::string& path, const CEnregistrement& recording, const std::vector<Curve>& columns,
                     int periodMs, int blocks, CsvFormat format)
{
    CsvWriter writer;
    if (std::string error = writer.Open(path, columns, periodMs, format); !error.empty()) return error;
    // All or nothing: the recording is still there to write again.
    for (int block = 0; block < blocks; ++block)
        if (!writer.WriteBlock(recording, block)) {
            writer.Abandon();
            return CsvNotWritten(path, writer.Error());
        }
    return writer.Finish();
}

}  // namespace banc
