#include "window/HistoryDock.h"

#include <tarvic/platform/Text.h>

#include "window/HistoryPane.h"
#include "window/Latin1.h"
#include "window/PlotView.h"
#include "window/Workbench.h"

namespace banc::window {

HistoryDock::HistoryDock(Workbench& workbench, PlotView& plot, Prompts& prompts, QWidget* parent)
    : QDockWidget(Q("Historique"), parent), m_workbench(workbench), m_plot(plot),
      m_pane(new HistoryPane(workbench.History(), prompts, this))
{
    setObjectName(QStringLiteral("historique"));
    setWidget(m_pane);
    connect(m_pane, &HistoryPane::selectionChanged, this, &HistoryDock::OverlaySelected);
    // A run started or an experiment opened is what the plot is for then.
    const auto leaveOverlay = [this] {
        if (m_pane->Selected().size() > 1) m_pane->Select({});
    };
    connect(&m_workbench, &Workbench::runStarted, this, leaveOverlay);
    connect(&m_workbench, &Workbench::shownChanged, this, leaveOverlay);
}

void HistoryDock::FollowBench()
{
    // None before the window restores the user's.
    if (const Bench* bench = m_workbench.LiveSettings().bench) m_pane->ShowBench(bench->name);
}

std::string HistoryDock::Load(const std::vector<long long>& numbers, std::vector<ComparedRun>& runs)
{
    for (const long long number : numbers) {
        history::StoredRun stored;
        if (std::string error = m_workbench.History().Read(number, stored); !error.empty()) return error;
        ComparedRun& run = runs.emplace_back();
        if (std::string error = LoadComparedRun(stored, run); !error.empty()) return error;
    }
    return ComparisonRefusal(runs);
}

void HistoryDock::OverlaySelected()
{
    const std::vector<long long> numbers = m_pane->Selected();
    std::vector<ComparedRun> runs;
    const std::string refusal = numbers.size() < 2 ? std::string() : Load(numbers, runs);
    if (!refusal.empty()) runs.clear();
    m_plot.SetComparison(std::move(runs));
    m_pane->SetNote(Q(Capitalised(refusal)));
}

}  // namespace banc::window
