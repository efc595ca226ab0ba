#pragma once

#include <QDockWidget>

#include <string>
#include <vector>

#include "engine/outputs/Comparison.h"

namespace banc::window {

class HistoryPane;
class PlotView;
class Prompts;
class Workbench;

// The Historique pane docked in the window: it follows the bench chosen,
// and overlays the runs selected, two or more, on the plot, until one
// alone or none is selected, a run starts or an experiment is opened.
class HistoryDock : public QDockWidget {
    Q_OBJECT

public:
    HistoryDock(Workbench& workbench, PlotView& plot, Prompts& prompts, QWidget* parent = nullptr);

    HistoryPane* Pane() const { return m_pane; }
    // The bench chosen, maybe another.
    void FollowBench();

private:
    void OverlaySelected();
    // The runs read back; "" or why one cannot be (Latin-1).
    std::string Load(const std::vector<long long>& numbers, std::vector<ComparedRun>& runs);

    Workbench& m_workbench;
    PlotView& m_plot;
    HistoryPane* m_pane;
};

}  // namespace banc::window
