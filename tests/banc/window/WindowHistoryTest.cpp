#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <tarvic/platform/RecordingDC.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include <fstream>
#include <string>
#include <vector>

#include "WindowFixture.h"
#include "engine/history/KeepRun.h"
#include "engine/history/RunHistory.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/Results.h"
#include "window/CardConnection.h"
#include "window/HistoryDock.h"
#include "window/HistoryPane.h"
#include "window/HistoryRows.h"
#include "window/PlotView.h"
#include "window/RunStatus.h"
#include "window/WindowArguments.h"

using namespace banc;
using banc::test::SpinUntil;
using banc::window::LinkState;
using Lines = std::vector<std::string>;

namespace {

// The water level PID of two blocks of 16 s at a hundred times the clock,
// its runs kept in the fixture's folder, the Historique pane open.
class WindowHistory : public ::testing::Test {
protected:
    void OpenFast()
    {
        m_fixture.Prefer("niveaueau", "pid", 100);
        m_fixture.Open();
        Window().History()->show();
        ASSERT_EQ(Bench().SetRecording(32, 500), "");
        ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
    }
    window::Workbench& Bench() { return m_fixture.Bench(); }
    window::BenchWindow& Window() { return m_fixture.Window(); }
    window::HistoryPane& Pane() { return *Window().History()->Pane(); }
    std::string BasePath() const { return m_fixture.folder.File("essais.sqlite"); }

    // The table as shown, one line a row, its cells joined by '|' (UTF-8).
    Lines Rows()
    {
        const QAbstractItemModel& model = *Pane().Table()->model();
        Lines rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model.columnCount(); ++column)
                cells << model.index(row, column).data().toString();
            rows.push_back(cells.join('|').toStdString());
        }
        return rows;
    }
    Lines Column(int column)
    {
        const QAbstractItemModel& model = *Pane().Table()->model();
        Lines cells;
        for (int row = 0; row < model.rowCount(); ++row)
            cells.push_back(model.index(row, column).data().toString().toStdString());
        return cells;
    }
    history::StoredRun Stored(long long number)
    {
        history::RunHistory base;
        EXPECT_EQ(base.Open(BasePath()), "");
        history::StoredRun run;
        EXPECT_EQ(base.Read(number, run), "");
        return run;
    }
    // Runs kept by hand, as another console would have kept them.
    void Insert(std::vector<history::StoredRun> runs)
    {
        history::RunHistory base;
        ASSERT_EQ(base.Open(BasePath()), "");
        for (history::StoredRun& run : runs) ASSERT_EQ(base.Insert(run), "");
        Pane().Reload();
    }
    static history::StoredRun Run(const char* bench, const char* startedAt, history::RunOutcome outcome,
                                  std::optional<double> overshoot, const char* comment = "")
    {
        history::StoredRun run;
        run.startedAt = startedAt;
        run.user = "eleve";
        run.host = "salle-b";
        run.bench = bench;
        run.mode = "pid";
        run.summary = "PID Kp 2";
        run.outcome = outcome;
        run.finalValue = 40;
        run.overshootPct = overshoot;
        run.measureUnit = "%";
        run.comment = comment;
        return run;
    }
    // The pane laid out and the window active, as the user has it under the mouse and the keys.
    void ShowPane()
    {
        Window().activateWindow();
        Pane().Table()->setFocus();
        ASSERT_TRUE(SpinUntil([&] { return Pane().Table()->hasFocus() && Pane().Table()->viewport()->height() > 0; }));
    }
    void DoubleClick(int row)
    {
        ShowPane();
        QTableView& table = *Pane().Table();
        const QRect cell = table.visualRect(table.model()->index(row, window::kRunDate));
        // The press of the first click picks the row the second one opens.
        QTest::mouseClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
    std::string Csv(const char* name)
    {
        const std::string path = m_fixture.folder.File(name);
        EXPECT_EQ(Bench().ExportCsv(path, CsvFormat::Rfc4180), "");
        return test::ReadFile(path);
    }
    std::vector<const CRecordingDC::Call*> Polylines(const CRecordingDC& dc)
    {
        std::vector<const CRecordingDC::Call*> lines;
        for (const auto& call : dc.Calls())
            if (call.op == "polyline") lines.push_back(&call);
        return lines;
    }

    test::WindowFixture m_fixture;
};

std::string Utf8(const std::string& latin1) { return QString::fromLatin1(latin1.c_str()).toStdString(); }

// "59,9 %" from 59.94: one decimal, a decimal comma.
std::string OneDecimal(double value, const char* unit)
{
    std::string text = tarvic::Format("%.1f %s", value, unit);
    text[text.find('.')] = ',';
    return text;
}

}  // namespace

TEST_F(WindowHistory, ARunToTheEndIsKeptAndListedWithItsFigures)
{
    OpenFast();
    ASSERT_EQ(Bench().SetRecording(320, 500), "");  // 20 blocks, time for the level to settle
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_EQ(Bench().LastKept().number, 1);
    EXPECT_EQ(Bench().LastKept().warning, "");
    EXPECT_EQ(Window().Status()->NoticeText().toStdString(), "Essai termin\xC3\xA9 : 20 blocs.");
    const history::StoredRun run = Stored(1);
    EXPECT_EQ(run.bench, "niveaueau");
    EXPECT_EQ(run.mode, "pid");
    EXPECT_EQ(run.outcome, history::RunOutcome::Complete);
    EXPECT_EQ(run.user, history::LoginName());
    // The figures the engine reads off the record shown.
    const StepFigures figures = ExperimentStep(Bench().ShownSettings(), Bench().ShownElements());
    ASSERT_TRUE(run.finalValue);
    ASSERT_TRUE(figures.final);
    EXPECT_FLOAT_EQ(static_cast<float>(*run.finalValue), *figures.final);
    // A level between 10 and 100 % has three significant digits with one decimal.
    ASSERT_GE(*run.finalValue, 10);
    ASSERT_LT(*run.finalValue, 100);
    const std::string overshoot = run.overshootPct ? OneDecimal(*run.overshootPct, "%") : "";
    ASSERT_EQ(Rows().size(), 1u);
    EXPECT_EQ(Rows()[0], "1|" + run.startedAt + "|Mode 1 : r\xC3\xA9gulation PID|" + Utf8(run.summary) + "|Complet|" +
                             OneDecimal(*run.finalValue, "%") + "|" + overshoot + "|" + Utf8(run.user) + "|");
    // The headers the user sorts on.
    const QAbstractItemModel& model = *Pane().Table()->model();
    QStringList headers;
    for (int column = 0; column < model.columnCount(); ++column)
        headers << model.headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headers.join('|').toStdString(),
              "N\xC2\xB0|Date|Mode|R\xC3\xA9glages|Issue|Valeur finale|D\xC3\xA9passement|Utilisateur|Commentaire");
}

TEST_F(WindowHistory, AStoppedRunIsKeptAsInterrupted)
{
    OpenFast();
    ASSERT_EQ(Bench().SetRecording(160, 500), "");  // ten blocks: time to stop it after the first
    Window().Do(window::Action::Start);
    ASSERT_TRUE(SpinUntil([&] {
        std::lock_guard lock(Bench().Lock());
        return Bench().LiveElements().recording->LitNbPoint() >= kPointsPerBlock;
    }));
    Window().Do(window::Action::Stop);
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }));
    EXPECT_EQ(Column(window::kRunOutcome), Lines{"Interrompu"});
    EXPECT_EQ(Stored(1).outcome, history::RunOutcome::Interrupted);
    EXPECT_EQ(Stored(1).outcomeText, "Essai interrompu.");
}

TEST_F(WindowHistory, ARunStoppedBeforeItsFirstBlockIsNotKept)
{
    // At the clock's pace, a block takes 16 s: none comes before the stop.
    m_fixture.Prefer("niveaueau", "pid", 1);
    m_fixture.Open();
    ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
    Window().Do(window::Action::Start);
    ASSERT_TRUE(Bench().Running());
    Window().Do(window::Action::Stop);
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }));
    EXPECT_EQ(Bench().LastKept().number, 0);
    EXPECT_EQ(Bench().LastKept().warning, "");
    EXPECT_TRUE(Rows().empty());
}

TEST_F(WindowHistory, CtrlHShowsAndHidesThePaneHiddenAtFirst)
{
    m_fixture.Prefer("niveaueau", "pid", 100);
    m_fixture.Open();
    window::HistoryDock& dock = *Window().History();
    EXPECT_FALSE(dock.isVisible());
    EXPECT_EQ(dock.windowTitle().toStdString(), "Historique");
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTest::keySequence(&Window(), QKeySequence(Qt::CTRL | Qt::Key_H));
    EXPECT_TRUE(dock.isVisible());
    QTest::keySequence(&Window(), QKeySequence(Qt::CTRL | Qt::Key_H));
    EXPECT_FALSE(dock.isVisible());
}

TEST_F(WindowHistory, ThePaneListsThisBenchsRunsNewestFirstSortedAndFiltered)
{
    OpenFast();
    Insert({Run("niveaueau", "2026-12-08 09:00:00", history::RunOutcome::Complete, 12.5, "P seul"),
            Run("debitair", "2026-12-08 09:05:00", history::RunOutcome::Complete, 3.0),
            Run("niveaueau", "2026-12-08 09:10:00", history::RunOutcome::Interrupted, std::nullopt),
            Run("niveaueau", "2026-12-08 09:20:00", history::RunOutcome::CardFault, 4.3, "r\xE9ponse lente")});
    EXPECT_EQ(
        Rows(),
        (Lines{
            "4|2026-12-08 09:20:00|Mode 1 : r\xC3\xA9gulation PID|PID Kp 2|D\xC3\xA9" "faut de carte|40,0 %|4,3 %|eleve|r\xC3\xA9ponse lente",
            "3|2026-12-08 09:10:00|Mode 1 : r\xC3\xA9gulation PID|PID Kp 2|Interrompu|40,0 %||eleve|",
            "1|2026-12-08 09:00:00|Mode 1 : r\xC3\xA9gulation PID|PID Kp 2|Complet|40,0 %|12,5 %|eleve|P seul"}));
    // By overshoot, as a number: the one without first, 4,3 before 12,5.
    Pane().Table()->sortByColumn(window::kRunOvershoot, Qt::AscendingOrder);
    EXPECT_EQ(Column(window::kRunNumber), (Lines{"3", "4", "1"}));
    Pane().Table()->sortByColumn(window::kRunNumber, Qt::AscendingOrder);
    EXPECT_EQ(Column(window::kRunNumber), (Lines{"1", "3", "4"}));
    // A text found in any column, whatever its case.
    QTest::keyClicks(Pane().Filter(), "INTERR");
    EXPECT_EQ(Column(window::kRunNumber), Lines{"3"});
    Pane().Filter()->setText(QString::fromUtf8("r\xC3\xA9ponse"));
    EXPECT_EQ(Column(window::kRunNumber), Lines{"4"});
    Pane().Filter()->clear();
    EXPECT_EQ(Column(window::kRunNumber).size(), 3u);
    // Another bench, its own runs.
    ASSERT_EQ(Bench().ChooseBench(*FindBench("debitair")), "");
    EXPECT_EQ(Column(window::kRunNumber), Lines{"2"});
}

TEST_F(WindowHistory, ADoubleClickOpensARunAsJustAcquired)
{
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    const std::string acquired = Csv("acquis.csv");
    // Elsewhere meanwhile: another bench, whose pane has none of it.
    ASSERT_EQ(Bench().ChooseBench(*FindBench("debitair")), "");
    EXPECT_TRUE(Rows().empty());
    ASSERT_EQ(Bench().ChooseBench(*FindBench("niveaueau")), "");
    ASSERT_EQ(Rows().size(), 1u);
    DoubleClick(0);
    EXPECT_TRUE(m_fixture.prompts.warnings.empty());
    EXPECT_FALSE(Bench().ShowsLive());
    EXPECT_EQ(Bench().ShownSettings().mode->name, std::string("pid"));
    EXPECT_EQ(Window().Status()->NoticeText().toStdString(), "Essai 1 de l'historique ouvert.");
    EXPECT_EQ(Csv("rouvert.csv"), acquired);
    // Its curves on the plot, as the run's own were.
    CRecordingDC dc;
    Window().Plot()->Render(dc, 1920);
    ASSERT_EQ(Polylines(dc).size(), 3u);
    EXPECT_EQ(Polylines(dc).front()->points.size(), 64u);
}

TEST_F(WindowHistory, SeveralSelectedAreOverlaidOnThePlotEachInItsPen)
{
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    ASSERT_EQ(Rows().size(), 2u);
    window::PlotView& plot = *Window().Plot();
    Pane().Select({1});
    EXPECT_TRUE(plot.Compared().empty());
    Pane().Select({1, 2});
    ASSERT_EQ(plot.Compared().size(), 2u);
    EXPECT_EQ(plot.Compared()[0].stored.number, 1);
    EXPECT_EQ(plot.Compared()[1].stored.number, 2);
    EXPECT_FALSE(Pane().Message()->isVisibleTo(&Pane()));
    CRecordingDC dc;
    plot.Render(dc, 1920);
    // Each run's measurement in its colour and dash, over its 64 points.
    for (int index = 0; index < 2; ++index) {
        const RunPen pen = ComparisonPen(index);
        int drawn = 0;
        for (const auto* line : Polylines(dc))
            if (line->pen.lopnColor == pen.colour && static_cast<int>(line->pen.lopnStyle) == pen.style &&
                line->points.size() == 64u)
                ++drawn;
        EXPECT_EQ(drawn, 1) << index;
    }
    // The legend names both.
    std::string texts;
    for (const auto& call : dc.Calls())
        if (call.op == "text") texts += call.text;
    EXPECT_NE(texts.find("Essai 1"), std::string::npos);
    EXPECT_NE(texts.find("Essai 2"), std::string::npos);
    // One alone again: the experiment.
    Pane().Select({2});
    EXPECT_TRUE(plot.Compared().empty());
    // A run started takes the plot back.
    Pane().Select({1, 2});
    ASSERT_EQ(plot.Compared().size(), 2u);
    Window().Do(window::Action::Start);
    EXPECT_TRUE(plot.Compared().empty());
    EXPECT_TRUE(Pane().Selected().empty());
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }));
}

TEST_F(WindowHistory, TheLegendOfTenRunsOverlaidStaysInsideThePlot)
{
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    // Nine more of the same run, kept as another console would have kept them.
    history::StoredRun run = Stored(1);
    Insert(std::vector<history::StoredRun>(9, run));
    ASSERT_EQ(Rows().size(), 10u);
    window::PlotView& plot = *Window().Plot();
    Pane().Select({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    ASSERT_EQ(plot.Compared().size(), 10u);
    EXPECT_GT(plot.LogicalHeight(), window::PlotView::kHeight);
    CRecordingDC dc;
    plot.Render(dc, plot.LogicalWidth(), plot.Scale());
    int legend = 0;
    for (const auto& call : dc.Calls()) {
        if (call.op != "text") continue;
        if (call.text.rfind("Essai ", 0) == 0) ++legend;
        EXPECT_LE(call.points.front().y + call.font.lfHeight, plot.LogicalHeight()) << call.text;
    }
    EXPECT_EQ(legend, 10);
    // One alone, the experiment at its own height.
    Pane().Select({1});
    EXPECT_EQ(plot.LogicalHeight(), window::PlotView::kHeight);
}

TEST_F(WindowHistory, RunsWhoseArchivesCannotBeReadAreNeitherOverlaidNorOpened)
{
    OpenFast();
    // Kept without their curves, as a damaged base would give them back.
    Insert({Run("niveaueau", "2026-12-08 09:00:00", history::RunOutcome::Complete, 12.5),
            Run("niveaueau", "2026-12-08 09:10:00", history::RunOutcome::Complete, 10.0)});
    Pane().Select({1, 2});
    EXPECT_TRUE(Window().Plot()->Compared().empty());
    EXPECT_TRUE(Pane().Message()->isVisibleTo(&Pane()));
    EXPECT_EQ(Pane().Message()->text().toStdString(), "L'archive de l'essai 1 n'est pas une archive d'essai lisible.");
    // One alone: no overlay, nothing to say.
    Pane().Select({1});
    EXPECT_FALSE(Pane().Message()->isVisibleTo(&Pane()));
    DoubleClick(0);
    EXPECT_EQ(m_fixture.prompts.warnings, Lines{"L'archive de l'essai 2 n'est pas une archive d'essai lisible."});
    EXPECT_TRUE(Bench().ShowsLive());
}

TEST_F(WindowHistory, ARunUnderWayAtTheWindowsCloseIsKeptAsInterrupted)
{
    OpenFast();
    ASSERT_EQ(Bench().SetRecording(160, 500), "");
    Window().Do(window::Action::Start);
    ASSERT_TRUE(SpinUntil([&] {
        std::lock_guard lock(Bench().Lock());
        return Bench().LiveElements().recording->LitNbPoint() >= kPointsPerBlock;
    }));
    m_fixture.prompts.closing = {window::Prompts::Closing::Discard};
    m_fixture.Close();
    const history::StoredRun run = Stored(1);
    EXPECT_EQ(run.outcome, history::RunOutcome::Interrupted);
    EXPECT_EQ(run.outcomeText, "Essai interrompu.");
    // What it acquired, whole blocks of it.
    LoadedExperiment loaded;
    ASSERT_EQ(LoadArchiveBytes(run.archive, "essai", loaded), "");
    const int points = loaded.elements.recording->LitNbPoint();
    EXPECT_GE(points, kPointsPerBlock);
    EXPECT_EQ(points % kPointsPerBlock, 0);
}

TEST_F(WindowHistory, ACommentIsAskedKeptAndShown)
{
    OpenFast();
    Insert({Run("niveaueau", "2026-12-08 09:00:00", history::RunOutcome::Complete, 12.5, "P seul")});
    Pane().Select({1});
    ASSERT_TRUE(Pane().CommentAction()->isEnabled());
    // Given up: nothing changes.
    Pane().CommentAction()->trigger();
    EXPECT_EQ(m_fixture.prompts.commentOffered, Lines{"Commentaire de l'essai 1|P seul"});
    EXPECT_EQ(Stored(1).comment, "P seul");
    m_fixture.prompts.comments = {"d\xE9passement trop fort"};
    Pane().CommentAction()->trigger();
    EXPECT_EQ(Stored(1).comment, "d\xE9passement trop fort");
    EXPECT_EQ(Column(window::kRunComment), Lines{"d\xC3\xA9passement trop fort"});
    EXPECT_EQ(Window().Status()->NoticeText().toStdString(), "Commentaire de l'essai 1 enregistr\xC3\xA9.");
    // Still the one selected.
    EXPECT_EQ(Pane().Selected(), std::vector<long long>{1});
}

TEST_F(WindowHistory, RemovalAsksFirstAndKeepsTheRunsWhenRefused)
{
    OpenFast();
    Insert({Run("niveaueau", "2026-12-08 09:00:00", history::RunOutcome::Complete, 12.5),
            Run("niveaueau", "2026-12-08 09:10:00", history::RunOutcome::Complete, 10.0),
            Run("niveaueau", "2026-12-08 09:20:00", history::RunOutcome::Complete, 8.0)});
    Pane().Select({2});
    m_fixture.prompts.removals = {false};
    Pane().RemoveAction()->trigger();
    EXPECT_EQ(m_fixture.prompts.removalAsked,
              Lines{"Supprimer l'essai 2 de l'historique ? Il ne pourra pas \xEAtre r\xE9" "cup\xE9r\xE9."});
    EXPECT_EQ(Column(window::kRunNumber), (Lines{"3", "2", "1"}));
    // Two at once, with the Delete key of the table.
    Pane().Select({1, 3});
    m_fixture.prompts.removals = {true};
    ShowPane();
    QTest::keyClick(Pane().Table(), Qt::Key_Delete);
    ASSERT_EQ(m_fixture.prompts.removalAsked.size(), 2u);
    EXPECT_EQ(m_fixture.prompts.removalAsked[1],
              "Supprimer les 2 essais 1 et 3 de l'historique ? Ils ne pourront pas \xEAtre r\xE9" "cup\xE9r\xE9s.");
    EXPECT_EQ(Column(window::kRunNumber), Lines{"2"});
    EXPECT_EQ(Window().Status()->NoticeText().toStdString(), "Essais 1 et 3 supprim\xC3\xA9s de l'historique.");
    history::RunHistory base;
    ASSERT_EQ(base.Open(BasePath()), "");
    history::StoredRun gone;
    EXPECT_NE(base.Read(1, gone), "");
    EXPECT_NE(base.Read(3, gone), "");
}

TEST_F(WindowHistory, ABaseThatCannotBeOpenedIsSaidInThePaneAndTheRunIsStillThere)
{
    const std::string foreign = "Ceci n'est pas une base de donn\xE9" "es, mais le compte rendu d'un \xE9l\xE8ve.\n";
    {
        std::ofstream out(BasePath(), std::ios::binary);
        out << foreign;
    }
    history::RunHistory probe;
    const std::string refusal = probe.Open(BasePath());
    ASSERT_NE(refusal, "");
    OpenFast();
    EXPECT_TRUE(Pane().Message()->isVisibleTo(&Pane()));
    EXPECT_EQ(Pane().Message()->text(), QString::fromLatin1(("Historique indisponible : " + refusal).c_str()));
    EXPECT_TRUE(Rows().empty());
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_EQ(Bench().LastKept().number, 0);
    ASSERT_NE(Bench().LastKept().warning, "");
    EXPECT_EQ(Window().Status()->NoticeText(),
              QString::fromLatin1(("Essai termin\xE9 : 2 blocs. " + Bench().LastKept().warning).c_str()));
    // The run is there to save, and the file is as it was.
    EXPECT_TRUE(Bench().Unsaved());
    EXPECT_EQ(test::ReadFile(BasePath()), foreign);
}

TEST_F(WindowHistory, RunsAreKeptUnderTheStudentsNameWhenGiven)
{
    m_fixture.student = "Zo\xE9 Martin";
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_EQ(Stored(1).user, "Zo\xE9 Martin");
    EXPECT_EQ(Column(window::kRunUser), Lines{"Zo\xC3\xA9 Martin"});
}

TEST(WindowHistoryArguments, TheBaseAndTheStudentComeFromTheCommandLine)
{
    const auto answer = [](QStringList arguments) {
        arguments.prepend(QStringLiteral("tarvic-banc-fenetre"));
        return window::AnswerArguments(arguments, true);
    };
    const window::ArgumentsAnswer given =
        answer({"--historique", "/tmp/classe/essais.sqlite", "--etudiant", QString::fromUtf8("Zo\xC3\xA9")});
    EXPECT_FALSE(given.exitStatus);
    EXPECT_EQ(given.historyPath, "/tmp/classe/essais.sqlite");
    EXPECT_EQ(given.user, "Zo\xE9");
    const window::ArgumentsAnswer none = answer({});
    EXPECT_FALSE(none.exitStatus);
    EXPECT_EQ(none.historyPath, "");
    EXPECT_EQ(none.user, "");
    const window::ArgumentsAnswer missing = answer({"--historique"});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_EQ(missing.errors.toStdString(),
              "tarvic-banc-fenetre : l'option --historique attend une valeur (voir tarvic-banc-fenetre --help).\n");
    const window::ArgumentsAnswer unknown = answer({"--etudiant", "Paul", "--bidule"});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_EQ(unknown.errors.toStdString(),
              "tarvic-banc-fenetre : option inconnue : --bidule (voir tarvic-banc-fenetre --help).\n");
}
