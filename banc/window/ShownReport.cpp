#include "window/ShownReport.h"

#include <functional>
#include <mutex>

#include "engine/history/KeepRun.h"
#include "report/Report.h"
#include "window/PlotView.h"
#include "window/Workbench.h"

namespace banc::window {
namespace {

using RunReportMaker = std::function<std::string(const history::StoredRun&, const Settings&, Elements&)>;
using ComparisonMaker = std::function<std::string(const std::vector<ComparedRun>&)>;

std::string ShownReport(Workbench& workbench, const PlotView& plot, const RunReportMaker& run,
                        const ComparisonMaker& comparison)
{
    if (!plot.Compared().empty()) return comparison(plot.Compared());
    if (workbench.Running()) return "Le rapport attend la fin de l'essai.";
    std::lock_guard lock(workbench.Lock());
    history::StoredRun stored;
    const long long kept = workbench.LastKept().number;
    // The run just kept, as the history has it; anything else as it is, under no number.
    const bool fromHistory = workbench.ShowsLive() && kept > 0 && workbench.History().Read(kept, stored).empty();
    if (!fromHistory) {
        stored =
            history::MakeStoredRun(workbench.ShownSettings(), workbench.ShownElements(), Outcome{}, RunReport{}, {});
        stored.number = 0;
        // An experiment opened was not made now, nor necessarily by this user.
        if (!workbench.ShowsLive()) stored.startedAt = stored.user = stored.host = "";
    }
    return run(stored, workbench.ShownSettings(), workbench.ShownElements());
}

}  // namespace

std::string PrintShownReport(Workbench& workbench, const PlotView& plot, QPagedPaintDevice& device)
{
    return ShownReport(
        workbench, plot,
        [&](const history::StoredRun& stored, const Settings& settings, Elements& elements) {
            return report::PrintRunReport(device, stored, settings, elements);
        },
        [&](const std::vector<ComparedRun>& runs) { return report::PrintComparisonReport(device, runs); });
}

std::string WriteShownReport(Workbench& workbench, const PlotView& plot, const std::string& path)
{
    return ShownReport(
        workbench, plot,
        [&](const history::StoredRun& stored, const Settings& settings, Elements& elements) {
            return report::WriteRunReport(path, stored, settings, elements);
        },
        [&](const std::vector<ComparedRun>& runs) { return report::WriteComparisonReport(path, runs); });
}

}  // namespace banc::window
