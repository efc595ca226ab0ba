#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/outputs/Curve.h"
#include "engine/outputs/SafeFile.h"

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
// are written block by block as they come, so that what is acquired is on
// disk, in a temporary file beside the target that takes its place when the
// writer finishes.
class CsvWriter {
public:
    CsvWriter() = default;
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    // Creates the file and writes the header; "" or why it cannot (Latin-1).
    // An experiment archive is never replaced by a CSV.
    std::string Open(const std::string& path, std::vector<Curve> columns, int periodMs,
                     CsvFormat format = CsvFormat::Rfc4180);
    // The 32 rows of block `block` (0-based); false when the file could not
    // take them, now or before: it then ends on the last whole block and takes no more.
    bool WriteBlock(const CEnregistrement& recording, int block);
    // Puts the file in place: "" or why it is not whole (Latin-1). After a
    // failed block, the whole blocks written before it are kept.
    std::string Finish();
    // Nothing is written; a file of that name stays as it was.
    void Abandon() { m_file.Abandon(); }
    bool IsOpen() const { return m_file.IsOpen(); }
    // The errno of the first write that failed, 0 for none.
    int Error() const { return m_error; }

private:
    SafeFile m_file;
    std::string m_path;
    std::vector<Curve> m_columns;
    int m_periodMs = 0;
    CsvFormat m_format = CsvFormat::Rfc4180;
    int m_blocks = 0;  // written whole
    int m_error = 0;   // of the first write that failed
};

// The whole file at once, the first `blocks` blocks, or nothing.
std::string WriteCsv(const std::string& path, const CEnregistrement& recording, const std::vector<Curve>& columns,
                     int periodMs, int blocks, CsvFormat format = CsvFormat::Rfc4180);

}  // namespace banc
