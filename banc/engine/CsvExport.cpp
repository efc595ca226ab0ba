#include "engine/CsvExport.h"

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include <cerrno>
#include <charconv>

#include "engine/Elements.h"

namespace banc {
namespace {

constexpr const char* kLineEnd = "\r\n";

// The shortest text that reads back as the same float, whatever the locale.
void AppendValue(std::string& row, float value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    row.append(text, error == std::errc() ? end : text);
}

// Milliseconds as exact seconds: 12.345, never 12.344999.
void AppendTime(std::string& row, long long ms) { row += tarvic::Format("%lld.%03lld", ms / 1000, ms % 1000); }

}  // namespace

CsvWriter::~CsvWriter() { Close(); }

std::string CsvWriter::Open(const std::string& path, std::vector<Curve> columns, int periodMs)
{
    Close();
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file)
        return tarvic::Format("Impossible d'\xE9" "crire %s : %s.", path.c_str(),
                              tarvic::FileErrorReason(errno, tarvic::FileUse::Write).c_str());
    m_columns = std::move(columns);
    m_periodMs = periodMs;
    m_ok = true;
    std::string header = "temps_s";
    for (const auto& column : m_columns) header += std::string(",") + column.column;
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
        AppendTime(rows, static_cast<long long>(index) * m_periodMs);
        for (const auto& column : m_columns) {
            rows += ',';
            AppendValue(rows, column.Value(recording, index));
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
                     int periodMs, int blocks)
{
    CsvWriter writer;
    if (std::string error = writer.Open(path, columns, periodMs); !error.empty()) return error;
    for (int block = 0; block < blocks; ++block) writer.WriteBlock(recording, block);
    if (!writer.Close()) return tarvic::Format("L'\xE9" "criture de %s n'a pas pu aller au bout.", path.c_str());
    return {};
}

}  // namespace banc
