#include "engine/CsvExport.h"

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include <algorithm>
#include <charconv>

#include "engine/Elements.h"
#include "engine/RecordingArchive.h"

namespace banc {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

char Separator(CsvFormat format) { return format == CsvFormat::French ? ';' : ','; }
char DecimalPoint(CsvFormat format) { return format == CsvFormat::French ? ',' : '.'; }

// A text field, quoted when it holds what would end it, its quotes doubled.
std::string Field(const std::string& latin1, CsvFormat format)
{
    const std::string text = tarvic::Latin1ToUtf8(latin1);
    if (text.find_first_of(std::string{Separator(format), '"', '\r', '\n'}) == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

// The shortest text that reads back as the same float, whatever the locale.
void AppendValue(std::string& row, float value, CsvFormat format)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    char* const stop = error == std::errc() ? end : text;
    std::replace(text, stop, '.', DecimalPoint(format));
    row.append(text, stop);
}

// Milliseconds as exact seconds: 12.345, never 12.344999.
void AppendTime(std::string& row, long long ms, CsvFormat format)
{
    row += tarvic::Format("%lld%c%03lld", ms / 1000, DecimalPoint(format), ms % 1000);
}

std::string NotWritten(const std::string& path, int error)
{
    return tarvic::Format("Impossible d'\xE9" "crire %s : %s.", path.c_str(),
                          tarvic::FileErrorReason(error, tarvic::FileUse::Write).c_str());
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
    if (const int error = m_file.Create(path)) return NotWritten(path, error);
    m_columns = std::move(columns);
    m_periodMs = periodMs;
    m_format = format;
    m_blocks = 0;
    std::string header = (format == CsvFormat::French ? kByteOrderMark : "") + Field("temps_s", format);
    for (const auto& column : m_columns) header += Separator(format) + Field(column.column, format);
    header += kLineEnd;
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
            rows += Separator(m_format);
            AppendValue(rows, column.Value(recording, index), m_format);
        }
        rows += kLineEnd;
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
        return NotWritten(m_path, failure);
    }
    if (const int error = m_file.Commit()) return NotWritten(m_path, error);
    if (failure == 0) return {};
    return tarvic::Format("Impossible d'\xE9" "crire %s en entier : %s ; il garde ses %d premi\xE8res lignes de mesures.",
                          m_path.c_str(), tarvic::FileErrorReason(failure, tarvic::FileUse::Write).c_str(),
                          m_blocks * kPointsPerBlock);
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
            return NotWritten(path, writer.Error());
        }
    return writer.Finish();
}

}  // namespace banc
