#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Curve.h"

class CEnregistrement;

namespace banc {

// How the values are written. RFC 4180: comma separator, '.' decimal point.
// French: what a spreadsheet set to French opens in columns, a semicolon
// separator and a decimal comma, the text in UTF-8 after a byte order mark.
// Both end their lines with CR LF and quote a field holding the separator, a
// quote or a line end.
enum class CsvFormat { Rfc4180, French };

struct CsvFormatChoice {
    const char* name;  // the --csv-format value
    CsvFormat format;
};
const std::vector<CsvFormatChoice>& CsvFormats();
const CsvFormatChoice* FindCsvFormat(std::string_view name);

// The results as CSV: a header naming each column with its unit, the time in
// seconds first, then one column per curve, values from the recording. Rows
// are written block by block as they come, so that what is acquired is on disk.
class CsvWriter {
public:
    CsvWriter() = default;
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    // Creates the file and writes the header; "" or why it cannot (Latin-1).
    // An experiment archive is never replaced by a CSV.
    std::string Open(const std::string& path, std::vector<Curve> columns, int periodMs,
                     CsvFormat format = CsvFormat::Rfc4180);
    // The 32 rows of block `block` (0-based); false when the file could not take them.
    bool WriteBlock(const CEnregistrement& recording, int block);
    // False when something could not be written.
    bool Close();
    bool IsOpen() const { return m_file != nullptr; }

private:
    std::FILE* m_file = nullptr;
    std::vector<Curve> m_columns;
    int m_periodMs = 0;
    CsvFormat m_format = CsvFormat::Rfc4180;
    bool m_ok = true;
};

// The whole file at once: the first `blocks` blocks.
std::string WriteCsv(const std::string& path, const CEnregistrement& recording, const std::vector<Curve>& columns,
                     int periodMs, int blocks, CsvFormat format = CsvFormat::Rfc4180);

}  // namespace banc
