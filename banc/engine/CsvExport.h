#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/Curve.h"

class CEnregistrement;

namespace banc {

// The results as CSV (RFC 4180): comma separator, '.' decimal point, CR LF
// line ends, a header naming each column with its unit, the time in seconds
// first, then one column per curve, values from the recording. Rows are
// written block by block as they come, so that what is acquired is on disk.
class CsvWriter {
public:
    CsvWriter() = default;
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    // Creates the file and writes the header; "" or why it cannot (Latin-1).
    // An experiment archive is never replaced by a CSV.
    std::string Open(const std::string& path, std::vector<Curve> columns, int periodMs);
    // The 32 rows of block `block` (0-based); false when the file could not take them.
    bool WriteBlock(const CEnregistrement& recording, int block);
    // False when something could not be written.
    bool Close();
    bool IsOpen() const { return m_file != nullptr; }

private:
    std::FILE* m_file = nullptr;
    std::vector<Curve> m_columns;
    int m_periodMs = 0;
    bool m_ok = true;
};

// The whole file at once: the first `blocks` blocks.
std::string WriteCsv(const std::string& path, const CEnregistrement& recording, const std::vector<Curve>& columns,
                     int periodMs, int blocks);

}  // namespace banc
