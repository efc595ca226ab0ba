#pragma once

#include <functional>
#include <string>

#include "report/ReportLayout.h"

class CDC;
class QPagedPaintDevice;

namespace banc::report {

// The document `make` makes, its texts measured as the page draws them:
// through the same painter device context, whose fonts are sized in the
// page's units.
Document Measured(const std::function<Document(CDC& measure)>& make);

// Paints the document's pages on a paged device (a PDF writer, a printer),
// scaled to its printable area, each with its footer and "page N / M";
// "" or why not (Latin-1). Needs a QGuiApplication.
std::string PrintDocument(const Document& document, QPagedPaintDevice& device);

// The document as a vector PDF on A4 with its fonts embedded, written whole
// or not at all, never over an experiment archive nor on a device; "" or
// why not (Latin-1).
std::string WritePdf(const std::string& path, const Document& document);
// The same PDF's bytes; "" when it could not be drawn.
std::string PdfBytes(const Document& document);

}  // namespace banc::report
