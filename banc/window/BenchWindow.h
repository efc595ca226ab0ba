#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QPointer>

#include "window/ActionBar.h"
#include "window/FileDialogs.h"
#include "window/KeptRun.h"
#include "window/Prompts.h"
#include "window/Workbench.h"

class CIconButton;
class QCheckBox;
class QComboBox;
class QMessageBox;
class QTabWidget;

namespace banc {
struct SweepRequest;
}

namespace banc::window {

class BodeView;
class CurveList;
class HistoryDock;
class LabSession;
class MenuBar;
class PlotView;
class RunStatus;
class SweepRun;
class SynopticView;

// The bench console's window: the bench and mode chosen at the top with the
// card and the actions, the bench's synoptic view and the curves on the
// left, the plot on the right with the last sweep's Bode diagram in a tab
// beside it, the link and the run's progress below.
class BenchWindow : public QMainWindow {
    Q_OBJECT

public:
    BenchWindow(Workbench::Places places, Prompts& prompts, QWidget* parent = nullptr);
    ~BenchWindow() override;

    Workbench& GetWorkbench() { return m_workbench; }
    SynopticView* Synoptic() const { return m_synoptic; }
    PlotView* Plot() const { return m_plot; }
    BodeView* Bode() const { return m_bode; }
    QTabWidget* PlotTabs() const { return m_tabs; }
    SweepRun& Sweep() { return *m_sweep; }
    CurveList* Curves() const { return m_curves; }
    RunStatus* Status() const { return m_status; }
    ActionBar* Actions() const { return m_actions; }
    LabSession& Lab() { return *m_lab; }
    MenuBar* Menus() const { return m_menus; }
    HistoryDock* History() const { return m_history; }
    QComboBox* BenchChoice() const { return m_bench; }
    QComboBox* ModeChoice() const { return m_mode; }
    // The settings dialog open, if any.
    QDialog* OpenDialog() const { return m_dialog; }
    // The room's last message, while it is shown.
    QMessageBox* RoomMessage() const;

    void Do(Action action);
    // Closed with no question, as at a logout: a run under way is stopped,
    // keeping its blocks, and a run in no archive is kept in the user's data folder.
    void CloseWithoutAsking();
    // What became of the run at such a close.
    const KeptRun& Kept() const { return m_kept; }
    // The synoptic's item `number` was clicked.
    void OnItem(int number);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* MakeTop();
    QWidget* MakePlotSide();
    void Connect();
    void ConnectMenus();
    void FillModes();
    void ShowElements();
    void ShowShown();
    void UpdateState();
    void OnRunEnded(const Outcome& outcome);
    void Identify();
    // The run `number` of the history, shown as an archive opened.
    void OpenStored(long long number);
    std::string StartSweep(const SweepRequest& request);
    void ShowSweep();
    // The Bode tab's table or picture; "" or why not (Latin-1).
    std::string SaveBode(Prompts::File file, const std::string& path);
    // The report of what the plot shows, on the printer the user chooses.
    void PrintReport();
    void Open(QDialog* dialog);
    void Report(const std::string& error);
    // True once written.
    bool SaveAs(Prompts::File file);
    // The last run may go, saved or let go.
    bool MayDrop(Prompts::Dropping why);
    void Wire(int measureRank, bool toggleRouted, bool toggleFeedback);
    // The room's orders: Arreter as its button does, a message in a box that leaves the window free.
    void OnRoomStop();
    void OnRoomMessage(const QString& text);

    Prompts& m_prompts;
    Workbench m_workbench;
    FileChoice m_files;
    LabSession* m_lab;
    SweepRun* m_sweep;
    MenuBar* m_menus = nullptr;
    QComboBox* m_bench = nullptr;
    QComboBox* m_mode = nullptr;
    CIconButton* m_cardButton = nullptr;
    ActionBar* m_actions = nullptr;
    SynopticView* m_synoptic = nullptr;
    CurveList* m_curves = nullptr;
    PlotView* m_plot = nullptr;
    BodeView* m_bode = nullptr;
    QTabWidget* m_tabs = nullptr;
    QCheckBox* m_autoScale = nullptr;
    QCheckBox* m_markers = nullptr;
    RunStatus* m_status = nullptr;
    HistoryDock* m_history = nullptr;
    QPointer<QDialog> m_dialog;
    QPointer<QMessageBox> m_roomMessage;
    bool m_asking = true;
    KeptRun m_kept;
};

}  // namespace banc::window
