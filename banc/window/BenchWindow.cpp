#include "window/BenchWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

#include <tarvic/platform/Text.h>
#include <tarvic/widgets/IconButton.h>

#include "engine/outputs/BodeCsv.h"
#include "engine/outputs/Results.h"
#include "engine/outputs/SweepDiagram.h"
#include "engine/outputs/SweepText.h"
#include "window/About.h"
#include "window/BenchDialog.h"
#include "window/BodeView.h"
#include "window/CardDialog.h"
#include "window/ControllerDialog.h"
#include "window/CurveList.h"
#include "window/FlowLayout.h"
#include "window/GeneratorDialog.h"
#include "window/HelpWindow.h"
#include "window/HistoryDock.h"
#include "window/HistoryPane.h"
#include "window/IdentificationPanel.h"
#include "window/LabSession.h"
#include "window/Latin1.h"
#include "window/MenuBar.h"
#include "window/ModeLabel.h"
#include "window/PlotPicture.h"
#include "window/PlotView.h"
#include "window/PortList.h"
#include "window/Prompts.h"
#include "window/RecordingDialog.h"
#include "window/RunStatus.h"
#include "window/ShownReport.h"
#include "window/SweepDialog.h"
#include "window/SweepRun.h"
#include "window/SynopticView.h"
#include "window/UnsavedRun.h"

namespace banc::window {
namespace {

// A choice as wide as this many characters, whatever its items: the row wraps, not the window.
constexpr int kChoiceCharacters = 18;
// The synoptic's share of the width, beside the plot's.
constexpr int kSynopticShare = 35, kPlotShare = 65;

QComboBox* MakeChoice(const char* name, QWidget* parent)
{
    auto* choice = new QComboBox(parent);
    choice->setObjectName(QString::fromLatin1(name));
    choice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    choice->setMinimumContentsLength(kChoiceCharacters);
    return choice;
}

std::string OutcomeText(const Outcome& outcome, int kept, int total)
{
    if (outcome.status == Outcome::Status::Finished) return tarvic::Format("Essai termin\xE9 : %d blocs.", kept);
    // A card that is not this bench's never started the run: nothing was there to keep.
    if (outcome.unusable) return outcome.message;
    const char* plural = kept > 1 ? "s" : "";
    return tarvic::Format("%s %d bloc%s sur %d gard\xE9%s.", outcome.message.c_str(), kept, plural, total, plural);
}

}  // namespace

BenchWindow::BenchWindow(Workbench::Places places, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_prompts(prompts), m_workbench(std::move(places)), m_files(prompts, m_workbench.Choices()),
      m_lab(new LabSession(m_workbench, this)), m_sweep(new SweepRun(m_workbench, this))
{
    setWindowTitle(Q("tarvic-banc : console des bancs"));
    m_menus = new MenuBar(this);
    setMenuBar(m_menus);
    m_curves = new CurveList(m_workbench.Lock());
    m_curves->setMaximumHeight(170);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(MakeTop());
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    m_synoptic = new SynopticView(left);
    leftLayout->addWidget(m_synoptic, 1);
    leftLayout->addWidget(new QLabel(Q("Courbes trac\xE9" "es"), left));
    leftLayout->addWidget(m_curves);
    splitter->addWidget(left);
    splitter->addWidget(MakePlotSide());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kSynopticShare, kPlotShare});
    layout->addWidget(splitter, 1);
    setCentralWidget(central);
    m_status = new RunStatus(this);
    setStatusBar(m_status);
    m_history = new HistoryDock(m_workbench, *m_plot, m_prompts, this);
    addDockWidget(Qt::RightDockWidgetArea, m_history);
    // Opened on demand: the plot keeps the room it needs on a small screen.
    m_history->hide();
    m_menus->AddViewEntry(m_history->toggleViewAction(), "&Historique des essais", Qt::CTRL | Qt::Key_H);
    Connect();
    ConnectMenus();
    const std::string error = m_workbench.Restore();
    ShowElements();
    ShowShown();
    UpdateState();
    if (!error.empty()) Report(error);
    if (const QString kept = TakeKeptRunNotice(m_workbench); !kept.isEmpty()) m_status->ShowNotice(kept);
}

BenchWindow::~BenchWindow() = default;

QWidget* BenchWindow::MakeTop()
{
    auto* top = new QWidget(this);
    auto* row = new FlowLayout(top);
    m_bench = MakeChoice("banc", top);
    for (const Bench& bench : Benches()) m_bench->addItem(Q(bench.title));
    m_mode = MakeChoice("mode", top);
    m_cardButton = new CIconButton(Q("Ca&rte..."), top);
    m_cardButton->setObjectName(QStringLiteral("carte"));
    m_cardButton->SetTipText("La carte simul\xE9" "e et sa vitesse, ou le port de la carte");
    m_cardButton->setFixedHeight(40);
    m_actions = new ActionBar(top);
    row->addWidget(new QLabel(Q("Banc"), top));
    row->addWidget(m_bench);
    row->addWidget(new QLabel(Q("Mode"), top));
    row->addWidget(m_mode);
    row->addWidget(m_cardButton);
    row->AddGap(12);
    row->addWidget(m_actions);
    return top;
}

QWidget* BenchWindow::MakePlotSide()
{
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* toolRow = new QWidget(side);
    auto* tools = new FlowLayout(toolRow);
    m_plot = new PlotView(m_workbench, *m_curves, side);
    m_plot->SetLab(m_lab);
    const auto tool = [&](const char* caption, const char* name, auto slot) {
        auto* button = new QPushButton(Q(caption), toolRow);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, m_plot, slot);
        tools->addWidget(button);
    };
    tool("Zoom +", "zoom+", &PlotView::ZoomIn);
    tool("Zoom -", "zoom-", &PlotView::ZoomOut);
    tool("<", "gauche", [this] { m_plot->Scroll(-1); });
    tool(">", "droite", [this] { m_plot->Scroll(1); });
    tool("Tout voir", "tout", &PlotView::ShowAll);
    m_autoScale = new QCheckBox(Q("\xC9" "chelle ajust\xE9" "e aux courbes"), toolRow);
    m_markers = new QCheckBox(Q("R\xE9ponse : temps, d\xE9passement"), toolRow);
    m_autoScale->setObjectName(QStringLiteral("echelle"));
    m_markers->setObjectName(QStringLiteral("reperes"));
    connect(m_autoScale, &QCheckBox::toggled, m_plot, &PlotView::SetAutoScale);
    connect(m_markers, &QCheckBox::toggled, m_plot, &PlotView::SetMarkers);
    tools->addWidget(m_autoScale);
    tools->addWidget(m_markers);
    layout->addWidget(toolRow);
    layout->addWidget(m_plot, 1);
    // The time plot and, beside it, the last sweep's diagram.
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("traces"));
    m_tabs->addTab(side, Q("&Courbes"));
    m_bode = new BodeView(m_tabs);
    m_bode->setObjectName(QStringLiteral("bode"));
    m_tabs->addTab(m_bode, Q("Diagramme de &Bode"));
    return m_tabs;
}

void BenchWindow::Connect()
{
    CardConnection& card = m_workbench.Card();
    connect(m_bench, &QComboBox::activated, this, [this](int index) {
        const Bench& chosen = Benches()[static_cast<std::size_t>(index)];
        const bool other = &chosen != m_workbench.LiveSettings().bench;
        if (!other || MayDrop(Prompts::Dropping::OtherBench)) {
            const std::string error = m_workbench.ChooseBench(chosen);
            Report(error);
            // The last run's progress is no business of another bench.
            if (other && error.empty()) m_status->ClearRun();
        }
        ShowElements();
    });
    connect(m_mode, &QComboBox::activated, this, [this](int index) {
        Report(m_workbench.ChooseMode(m_workbench.LiveSettings().bench->modes[static_cast<std::size_t>(index)]));
        ShowElements();
    });
    connect(m_cardButton, &QPushButton::clicked, this,
            [this] { Open(new CardDialog(m_workbench, PresentDevices(), this)); });
    connect(m_actions, &ActionBar::triggered, this, &BenchWindow::Do);
    connect(m_synoptic, &SynopticView::itemClicked, this, &BenchWindow::OnItem);
    connect(m_curves, &CurveList::shownChanged, m_plot, &PlotView::Refresh);
    connect(m_plot, &PlotView::cursorMoved, m_status, &RunStatus::ShowCursor);
    connect(&m_workbench, &Workbench::elementsChanged, this, &BenchWindow::ShowElements);
    connect(&m_workbench, &Workbench::shownChanged, this, &BenchWindow::ShowShown);
    connect(&m_workbench, &Workbench::runStarted, this, [this] {
        int planned = 0;
        {
            std::lock_guard lock(m_workbench.Lock());
            planned = m_workbench.LiveElements().recording->LitParam(2);
        }
        if (m_sweep->Active()) {
            m_status->ShowSteps(0, 1, Q("Repos avant le premier sinus"));
        } else {
            m_status->ShowProgress(0, planned, m_workbench.SecondsPerBlock());
            m_status->ShowNotice(Q("Essai en cours."));
        }
        ShowElements();
    });
    connect(&m_workbench, &Workbench::runEnded, this, &BenchWindow::OnRunEnded);
    connect(&m_workbench, &Workbench::notice, m_status, &RunStatus::ShowNotice);
    connect(&m_workbench, &Workbench::roomStopAsked, this, &BenchWindow::OnRoomStop);
    connect(&m_workbench, &Workbench::roomMessage, this, &BenchWindow::OnRoomMessage);
    connect(&card, &CardConnection::stateChanged, this, [this](LinkState state, const QString& detail) {
        m_status->ShowLink(state, detail);
        UpdateState();
    });
    connect(&card, &CardConnection::live, this, [this](const LiveValues& values) {
        m_synoptic->Items().Show(values);
        m_synoptic->update();
    });
    connect(&card, &CardConnection::blockAcquired, this, [this](int acquired, int total) {
        // A sweep counts its frequencies, not the blocks of each one's recording.
        if (!m_sweep->Active()) m_status->ShowProgress(acquired, total, m_workbench.SecondsPerBlock());
        m_plot->Refresh();
    });
    connect(m_sweep, &SweepRun::resting, this, [this](double seconds) {
        m_status->ShowSteps(0, 1, Q(tarvic::Format("Repos avant le premier sinus : %.0f s", seconds)));
    });
    connect(m_sweep, &SweepRun::frequencyStarted, this, [this](int index, int count, double hz) {
        m_status->ShowSteps(index, count,
                            Q(tarvic::Format("Fr\xE9quence %d sur %d : ", index + 1, count) + HertzText(hz)));
    });
    connect(m_sweep, &SweepRun::frequencyMeasured, this, [this](int index, int count, double hz) {
        m_status->ShowSteps(
            index + 1, count,
            Q(tarvic::Format("Fr\xE9quence %d sur %d mesur\xE9" "e : ", index + 1, count) + HertzText(hz)));
    });
    connect(&card, &CardConnection::refused, m_status, &RunStatus::ShowNotice);
    connect(m_lab, &LabSession::changed, m_plot, &PlotView::Refresh);
    connect(m_history->Pane(), &HistoryPane::openAsked, this, &BenchWindow::OpenStored);
    connect(m_history->Pane(), &HistoryPane::notice, m_status, &RunStatus::ShowNotice);
    connect(&m_workbench, &Workbench::elementsChanged, m_history, &HistoryDock::FollowBench);
    // An experiment shown that was not, or no longer, to identify.
    connect(&m_workbench, &Workbench::shownChanged, this, &BenchWindow::UpdateState);
}

void BenchWindow::ConnectMenus()
{
    connect(m_menus, &MenuBar::triggered, this, &BenchWindow::Do);
    connect(m_menus, &MenuBar::cardAsked, m_cardButton, &QPushButton::click);
    connect(m_menus, &MenuBar::itemAsked, this, &BenchWindow::OnItem);
    connect(m_menus, &MenuBar::quitAsked, this, &QWidget::close);
    connect(m_menus, &MenuBar::reportAsked, this, [this] { SaveAs(Prompts::File::Pdf); });
    connect(m_menus, &MenuBar::printAsked, this, &BenchWindow::PrintReport);
    connect(m_menus, &MenuBar::zoomInAsked, m_plot, &PlotView::ZoomIn);
    connect(m_menus, &MenuBar::zoomOutAsked, m_plot, &PlotView::ZoomOut);
    connect(m_menus, &MenuBar::showAllAsked, m_plot, &PlotView::ShowAll);
    connect(m_menus, &MenuBar::fullScreenAsked, this, [this](bool on) { on ? showFullScreen() : showNormal(); });
    connect(m_menus, &MenuBar::helpAsked, this, [this] { ShowHelp(this, *m_menus); });
    connect(m_menus, &MenuBar::aboutAsked, this, [this] { ShowAbout(this); });
}

void BenchWindow::FillModes()
{
    const Settings& settings = m_workbench.LiveSettings();
    m_mode->clear();
    for (const Mode& mode : settings.bench->modes) m_mode->addItem(Q(ModeLabel(mode)));
    m_mode->setCurrentIndex(static_cast<int>(settings.mode - settings.bench->modes.data()));
}

void BenchWindow::ShowElements()
{
    const Settings& settings = m_workbench.LiveSettings();
    m_bench->setCurrentIndex(static_cast<int>(settings.bench - Benches().data()));
    FillModes();
    {
        std::lock_guard lock(m_workbench.Lock());
        m_synoptic->Items().Build(settings, m_workbench.LiveElements(), m_workbench.Running());
    }
    m_synoptic->update();
    if (m_workbench.ShowsLive()) m_curves->Rebuild(settings, m_workbench.LiveElements());
    m_plot->Refresh();
}

void BenchWindow::ShowShown()
{
    // An archive shows the curves its bench shows at first.
    if (!m_workbench.ShowsLive()) m_curves->Forget();
    m_curves->Rebuild(m_workbench.ShownSettings(), m_workbench.ShownElements());
    m_plot->Reset();
    m_status->ClearRun();
}

void BenchWindow::UpdateState()
{
    const bool connected = m_workbench.Card().IsConnected();
    const bool running = m_workbench.Running();
    const bool identifiable = m_lab->Identifiable();
    m_actions->SetState(connected, running, identifiable);
    m_menus->SetState(connected, running, identifiable);
    m_bench->setEnabled(!running);
    m_mode->setEnabled(!running);
    m_cardButton->setEnabled(!running);
}

void BenchWindow::OnRunEnded(const Outcome& outcome)
{
    if (m_sweep->Active()) {
        ShowSweep();
        UpdateState();
        return;
    }
    int kept = 0, total = 0;
    {
        std::lock_guard lock(m_workbench.Lock());
        const CEnregistrement& recording = *m_workbench.LiveElements().recording;
        kept = recording.LitNbPoint() / kPointsPerBlock;
        total = recording.LitParam(2);
    }
    // A run the history could not keep is still there to save: the notice says both.
    const std::string& unkept = m_workbench.LastKept().warning;
    m_status->ShowNotice(Q(OutcomeText(outcome, kept, total) + (unkept.empty() ? "" : " " + unkept)));
    ShowElements();
    UpdateState();
}

QMessageBox* BenchWindow::RoomMessage() const { return m_roomMessage; }

void BenchWindow::OnRoomStop()
{
    if (!m_workbench.Running()) {
        m_status->ShowNotice(Q("Arr\xEAt demand\xE9 par la salle : aucun essai en cours."));
        return;
    }
    Do(Action::Stop);
    m_status->ShowNotice(Q("Arr\xEAt demand\xE9 par la salle."));
}

void BenchWindow::OnRoomMessage(const QString& text)
{
    // One box, whatever the number of messages: the last one shows.
    if (!m_roomMessage) {
        m_roomMessage = new QMessageBox(QMessageBox::Information, Q("Message de la salle"), {}, QMessageBox::Ok, this);
        m_roomMessage->setTextFormat(Qt::PlainText);  // the network's text is never markup
        m_roomMessage->setAttribute(Qt::WA_DeleteOnClose);
        m_roomMessage->setModal(false);
    }
    m_roomMessage->setText(text);
    m_roomMessage->show();
    m_roomMessage->raise();
}

void BenchWindow::Report(const std::string& error)
{
    if (error.empty()) return;
    m_status->ShowNotice(Q(error));
    m_prompts.Warn(this, error);
}

void BenchWindow::Open(QDialog* dialog)
{
    if (m_dialog) m_dialog->close();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog = dialog;
    dialog->open();
}

bool BenchWindow::MayDrop(Prompts::Dropping why)
{
    return MayDropLastRun(m_workbench, m_prompts, this, why, [this] { return SaveAs(Prompts::File::Archive); });
}

bool BenchWindow::SaveAs(Prompts::File file)
{
    Prompts::File chosen = file;
    const std::string path = m_files.Save(this, file, m_workbench.ShownSettings(), &chosen);
    if (path.empty()) return false;
    std::string error;
    // The exports are of the tab shown: the Bode tab's table and picture, or the run's.
    if (chosen != Prompts::File::Archive && chosen != Prompts::File::Pdf && m_tabs->currentWidget() == m_bode) {
        error = SaveBode(chosen, path);
    } else {
        switch (chosen) {
        case Prompts::File::Archive: error = m_workbench.SaveArchive(path); break;
        case Prompts::File::Csv: error = m_workbench.ExportCsv(path, CsvFormat::Rfc4180); break;
        case Prompts::File::CsvFrench: error = m_workbench.ExportCsv(path, CsvFormat::French); break;
        case Prompts::File::Png: error = SavePlotPicture(*m_plot, path); break;
        case Prompts::File::Pdf: error = WriteShownReport(m_workbench, *m_plot, path); break;
        }
    }
    if (error.empty())
        m_status->ShowNotice(Q("\xC9" "crit : ") + QString::fromLocal8Bit(path.c_str()));
    else
        Report(error);
    return error.empty();
}

void BenchWindow::Do(Action action)
{
    switch (action) {
    case Action::Download: Report(m_workbench.Download()); break;
    case Action::Start:
        if (MayDrop(Prompts::Dropping::NewRun)) Report(m_workbench.Start());
        break;
    case Action::Stop: m_workbench.Stop(); break;
    case Action::Open: {
        if (!MayDrop(Prompts::Dropping::Opening)) break;
        const std::string path = m_files.Open(this);
        if (path.empty()) break;
        std::string unchecked;
        if (std::string error = m_workbench.OpenArchive(path, &unchecked); !error.empty())
            Report(error);
        else  // an archive that could not be checked says so rather than only that it opened
            m_status->ShowNotice(unchecked.empty() ? Q("Essai ouvert : ") + QString::fromLocal8Bit(path.c_str())
                                                   : Q(unchecked));
        break;
    }
    case Action::Save: SaveAs(Prompts::File::Archive); break;
    case Action::ExportCsv: SaveAs(Prompts::File::Csv); break;
    case Action::ExportPng: SaveAs(Prompts::File::Png); break;
    case Action::Identify: Identify(); break;
    case Action::Sweep:
        Open(new SweepDialog(m_workbench, [this](const SweepRequest& request) { return StartSweep(request); }, this));
        break;
    }
    UpdateState();
}

void BenchWindow::PrintReport()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QString::fromLatin1("Rapport d'essai"));
    if (!m_prompts.ChoosePrinter(this, printer)) return;
    if (std::string error = PrintShownReport(m_workbench, *m_plot, printer); !error.empty())
        Report(error);
    else
        m_status->ShowNotice(Q("Rapport imprim\xE9."));
}

void BenchWindow::OpenStored(long long number)
{
    if (!MayDrop(Prompts::Dropping::Opening)) return;
    if (std::string error = m_workbench.OpenStored(number); !error.empty())
        Report(error);
    else
        m_status->ShowNotice(Q(tarvic::Format("Essai %lld de l'historique ouvert.", number)));
    UpdateState();
}

void BenchWindow::Identify()
{
    if (std::string error = m_lab->Identify(); !error.empty()) {
        Report(error);
        return;
    }
    ExperimentCurves curves;
    {
        std::lock_guard lock(m_workbench.Lock());
        curves = CurvesOf(m_workbench.ShownSettings(), m_workbench.ShownElements());
    }
    // The model is drawn over the measurement it was fitted to: that one is shown.
    m_curves->SetShown(curves.measure.code, true);
    Open(new IdentificationPanel(*m_lab, curves.measureUnit.unit, this));
}

std::string BenchWindow::StartSweep(const SweepRequest& request)
{
    std::string warning;
    if (std::string error = m_sweep->Start(request, warning); !error.empty()) return error;
    m_status->ShowNotice(Q("R\xE9ponse fr\xE9quentielle en cours."));
    // Said, and the sweep goes on: the points it concerns are flagged.
    if (!warning.empty()) Report(warning);
    UpdateState();
    return {};
}

void BenchWindow::ShowSweep()
{
    const SweepResult result = m_sweep->TakeResult();
    SweepLoop loop;
    std::string title;
    {
        std::lock_guard lock(m_workbench.Lock());
        const Settings& settings = m_workbench.LiveSettings();
        loop = LoopOfSweep(result, settings, m_workbench.BenchProfile());
        title = std::string(settings.bench->title) + " : r\xE9ponse fr\xE9quentielle";
    }
    m_bode->Show(SweepDiagram(title, result, &loop));
    m_tabs->setCurrentWidget(m_bode);
    m_status->ShowNotice(Q(SweepOutcomeText(result)));
}

std::string BenchWindow::SaveBode(Prompts::File file, const std::string& path)
{
    const BodeContent* content = m_bode->Content();
    if (!content) return "Pas de diagramme de Bode : lancez d'abord une r\xE9ponse fr\xE9quentielle.";
    switch (file) {
    case Prompts::File::Csv: return WriteBodeCsv(path, content->measured, CsvFormat::Rfc4180);
    case Prompts::File::CsvFrench: return WriteBodeCsv(path, content->measured, CsvFormat::French);
    case Prompts::File::Png: return SaveBodePicture(*m_bode, path);
    case Prompts::File::Archive:
    case Prompts::File::Pdf: break;  // of the run, not of the diagram
    }
    return {};
}

void BenchWindow::Wire(int measureRank, bool toggleRouted, bool toggleFeedback)
{
    const Settings& settings = m_workbench.LiveSettings();
    const MeasureChoice& measure =
        measureRank >= 0 ? settings.bench->measures[static_cast<std::size_t>(measureRank)] : settings.Measure();
    const std::string error = m_workbench.SetWiring(settings.Command(), measure, settings.routed != toggleRouted,
                                                    settings.feedback != toggleFeedback);
    Report(error);
    // A refused change puts the switches back as they are.
    if (!error.empty()) ShowElements();
}

void BenchWindow::OnItem(int number)
{
    switch (number) {
    case kGeneratorBlock:
    case kSetpointProbe: Open(new GeneratorDialog(m_workbench, this)); return;
    case kControllerBlock:
    case kCommandBox: Open(new ControllerDialog(m_workbench, this)); return;
    case kBenchBlock: Open(new BenchDialog(m_workbench, this)); return;
    case kRecordingBlock: Open(new RecordingDialog(m_workbench, this)); return;
    case kCommandSwitch: Wire(-1, true, false); return;
    case kFeedbackSwitch: Wire(-1, false, true); return;
    case kRunButton: Do(m_workbench.Running() ? Action::Stop : Action::Start); return;
    default: break;
    }
    const int measures = static_cast<int>(m_workbench.LiveSettings().bench->measures.size());
    if (number >= kMeasurePoint && number < kMeasurePoint + measures) Wire(number - kMeasurePoint, false, false);
    if (number >= kMeasureProbe && number < kMeasureProbe + measures) Open(new BenchDialog(m_workbench, this));
}

void BenchWindow::CloseWithoutAsking()
{
    // A second signal while the first closes changes nothing.
    if (!std::exchange(m_asking, false)) return;
    close();
}

void BenchWindow::closeEvent(QCloseEvent* event)
{
    if (!m_asking) {
        // Stopped as the Stop button does: the card's loop gets its "RS", the blocks stay.
        if (m_workbench.Running()) m_workbench.Finish();
        m_kept = KeepUnsavedRun(m_workbench);
        event->accept();
        return;
    }
    if (m_workbench.Running()) {
        switch (m_prompts.AskBeforeClosing(this)) {
        case Prompts::Closing::Cancel: event->ignore(); return;
        case Prompts::Closing::Save:
            m_workbench.Finish();
            // Without a file, or with one that cannot be written, the window stays with what was acquired.
            if (!SaveAs(Prompts::File::Archive)) {
                event->ignore();
                return;
            }
            break;
        case Prompts::Closing::Discard: m_workbench.Finish(); break;
        }
    } else if (!MayDrop(Prompts::Dropping::Closing)) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace banc::window
