#include "report/Report.h"

#include "report/ReportPrinter.h"

namespace banc::report {

std::string WriteRunReport(const std::string& path, ComparedRun& run)
{
    return WritePdf(path, Measured([&](CDC& dc) { return RunDocument(dc, run); }));
}

std::string PrintRunReport(QPagedPaintDevice& device, ComparedRun& run)
{
    return PrintDocument(Measured([&](CDC& dc) { return RunDocument(dc, run); }), device);
}

}  // namespace banc::report
