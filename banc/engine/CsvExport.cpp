#include "engine/CsvExport.h"

#include <QByteArray>
#include <QString>

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include <algorithm>
#include <cerrno>
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
    const QByteArray utf8 = QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size())).toUtf8();
    const std::string text = utf8.toStdString();
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

CsvWriter::~CsvWriter() { Close(); }

std::string CsvWriter::Open(const std::string& path, std::vector<Curve> columns, int periodMs, CsvFormat format)
{
    Close();
    if (std::string kept = ArchiveKept(path); !kept.empty()) return kept;
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file)
        return tarvic::Format("Impossible d'\xE9" "crire %s : %s.", path.c_str(),
                              tarvic::FileErrorReason(errno, tarvic::FileUse::Write).c_str());
    m_columns = std::move(columns);
    m_periodMs = periodMs;
    m_format = format;
    std::string header = (format == CsvFormat::French ? kByteOrderMark : "") + Field("temps_s", format);
    for (const auto& column : m_columns) header += Separator(format) + Field(column.column, format);
    header += kLineEnd;
    m_ok = std::fputs(header.c_str(), m_file) >= 0 && std::fflush(m_file) == 0;
    return {};
}

bool CsvWriter::WriteBlock(const CEnregistrement& recording, int block)
{
    if (!m_file) return false;
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
    m_ok = std::fwrite(rows.data(), 1, rows.size(), m_file) == rows.size() && std::fflush(m_file) == 0 && m_ok;
    return m_ok;
}

bool CsvWriter::Close()
{
    if (!m_file) return m_ok;
    m_ok = std::fclose(m_file) == 0 && m_ok;
    m_file = nullptr;
    return m_ok;
}

std::string WriteCsv(const std::string& path, const CEnregistrement& recording, const std::vector<Curve>& columns,
                     int periodMs, int blocks, CsvFormat format)
{
    CsvWriter writer;
    if (std::string error = writer.Open(path, columns, periodMs, format); !error.empty()) return error;
    for (int block = 0; block < blocks; ++block) writer.WriteBlock(recording, block);
    if (!writer.Close()) return tarvic::Format("L'\xE9" "criture de %s n'a pas pu aller au bout.", path.c_str());
    return {};
}

}  // namespace banc
