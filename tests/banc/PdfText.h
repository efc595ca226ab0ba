#pragma once

#include <string>

#include <QStringList>

namespace banc::test {

// What a program (poppler's pdftotext, pdftoppm...) writes on its standard output; a failure fails the test.
std::string ToolOutput(const QString& program, const QStringList& arguments);
// The text as a reader meets it: one space for any run of blanks, one line feed between lines.
std::string Words(std::string text);
// The PDF's text so, in reading order or (`layout`) as laid out on its pages.
std::string PdfText(const std::string& path, bool layout = false);

}  // namespace banc::test
