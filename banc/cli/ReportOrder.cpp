#include "cli/ReportOrder.h"

#include "cli/Outputs.h"
#include "report/Report.h"

namespace banc::cli {
namespace {

bool Told(const Request& request, const std::string& error)
{
    if (!error.empty()) {
        Complain(error);
        return false;
    }
    Tell("Rapport \xE9" "crit : " + request.report);
    return true;
}

}  // namespace

bool WriteRequestedReport(const Request& request, ComparedRun& run)
{
    if (request.report.empty()) return true;
    RequireGuiApplication();
    return Told(request, report::WriteRunReport(request.report, run.stored, run.loaded.settings, run.loaded.elements));
}

bool WriteRequestedReport(const Request& request, std::vector<ComparedRun>& runs)
{
    if (request.report.empty()) return true;
    RequireGuiApplication();
    return Told(request, report::WriteComparisonReport(request.report, runs));
}

}  // namespace banc::cli
