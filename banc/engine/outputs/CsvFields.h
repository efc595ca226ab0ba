#pragma once

#include <string>

#include "engine/outputs/CsvExport.h"

namespace banc {

// The pieces every table written as CSV is made of, in either format.
inline constexpr const char* kCsvLineEnd = "\r\n";
// What the file begins with: the byte order mark of the French format's UTF-8.
std::string CsvStart(CsvFormat format);
char CsvSeparator(CsvFormat format);
char CsvDecimalPoint(CsvFormat format);
// A text field, quoted when it holds what would end it, its quotes doubled.
std::string CsvField(const std::string& latin1, CsvFormat format);
// The shortest text that reads back as the same float, whatever the locale.
void AppendCsvValue(std::string& row, float value, CsvFormat format);
// Why a table was not written (Latin-1), from the errno of the failure.
std::string CsvNotWritten(const std::string& path, int error);

}  // namespace banc
