#include "report/Report.h"

#include "report/ReportPrinter.h"

namespace banc::report {

std::string WriteRunReport(const std::string& path, const history::StoredRun& stored, const Settings& settings,
                           Elements& elements)
{
    return WritePdf(path, Measured([&](CDC& dc) { return RunDocument(dc, stored, settings, elements); }));
}

std::string PrintRunReport(QPagedPaintDevice& device, const history::StoredRun& stored, const Settings& settings,
                           Elements& elements)
{
    return PrintDocument(Measured([&](CDC& dc) { return RunDocument(dc, stored, settings, elements); }), device);
}

}  // namespace banc::report
