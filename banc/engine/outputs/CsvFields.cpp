#include "engine/outputs/CsvFields.h"

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/Text.h>

#include <algorithm>
#include <charconv>

namespace banc {

std::string CsvStart(CsvFormat format) { return format == CsvFormat::French ? "\xEF\xBB\xBF" : ""; }

char CsvSeparator(CsvFormat format) { return format == CsvFormat::French ? ';' : ','; }

char CsvDecimalPoint(CsvFormat format) { return format == CsvFormat::French ? ',' : '.'; }

std::string CsvField(const std::string& latin1, CsvFormat format)
{
    const std::string text = tarvic::Latin1ToUtf8(latin1);
    if (text.find_first_of(std::string{CsvSeparator(format), '"', '\r', '\n'}) == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

void AppendCsvValue(std::string& row, float value, CsvFormat format)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    char* const stop = error == std::errc() ? end : text;
    std::replace(text, stop, '.', CsvDecimalPoint(format));
    row.append(text, stop);
}

std::string CsvNotWritten(const std::string& path, int error)
{
    return tarvic::Format("Impossible d'\xE9" "crire %s : %s.", path.c_str(),
                          tarvic::FileErrorReason(error, tarvic::FileUse::Write).c_str());
}

}  // namespace banc
