#include <gtest/gtest.h>

#include <QMouseEvent>

#include <tarvic/platform/RecordingDC.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include <unistd.h>

#include <fstream>
#include <memory>

#include "CardAnswer.h"
#include "WindowFixture.h"
#include "engine/outputs/Results.h"
#include "support/ScriptedCard.h"
#include "window/CardConnection.h"
#include "window/CurveList.h"
#include "window/PlotView.h"
#include "window/RunStatus.h"

using namespace banc;
using banc::test::SpinUntil;
using banc::window::LinkState;

namespace {

// The water level PID, recording two blocks of 16 s at a hundred times the clock.
class WindowRun : public ::testing::Test {
protected:
    void OpenFast()
    {
        m_fixture.Prefer("niveaueau", "pid", 100);
        m_fixture.Open();
        ASSERT_EQ(Bench().SetRecording(32, 500), "");
        ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
    }
    window::Workbench& Bench() { return m_fixture.Bench(); }
    window::BenchWindow& Window() { return m_fixture.Window(); }
    CEnregistrement& Recording() { return *Bench().ShownElements().recording; }
    int Blocks() { return Recording().LitNbPoint() / kPointsPerBlock; }
    std::vector<const CRecordingDC::Call*> Polylines(const CRecordingDC& dc)
    {
        std::vector<const CRecordingDC::Call*> lines;
        for (const auto& call : dc.Calls())
            if (call.op == "polyline") lines.push_back(&call);
        return lines;
    }
    void Click(window::PlotView& plot, CPoint logical)
    {
        const QPoint at = plot.ToWidget(logical);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), plot.mapToGlobal(QPointF(at)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&plot, &press);
    }
    // Every point of every curve the experiment records.
    std::vector<float> Points(const Settings& settings, const Elements& elements)
    {
        std::vector<float> points;
        for (const Curve& curve : ResultColumns(settings, elements))
            for (int i = 0; i < elements.recording->LitNbPoint(); ++i)
                points.push_back(curve.Value(*elements.recording, i));
        return points;
    }

    banc::test::WindowFixture m_fixture;
};

}  // namespace

TEST_F(WindowRun, AFullRunFillsThePlotAndTheStatusBar)
{
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_EQ(Blocks(), 2);
    window::RunStatus& status = *Window().Status();
    EXPECT_EQ(status.LinkText().toStdString(), "Carte connect\xC3\xA9" "e");
    EXPECT_EQ(status.ProgressText().toStdString(), "Bloc 2/2, reste 0 s");
    EXPECT_EQ(status.ProgressValue(), 2);
    EXPECT_EQ(status.NoticeText().toStdString(), "Essai termin\xC3\xA9 : 2 blocs.");
    // The measurement, the setpoint and the command at first, each over the 64 points on the 64 planned.
    window::PlotView& plot = *Window().Plot();
    CRecordingDC dc;
    plot.Render(dc, 1920);
    const auto curves = Polylines(dc);
    ASSERT_EQ(curves.size(), 3u);
    for (const auto* curve : curves) EXPECT_EQ(curve->points.size(), 64u);
    EXPECT_EQ(plot.TimeAxis().m_premier, 0);
    EXPECT_EQ(plot.TimeAxis().m_dernier, 64);
    EXPECT_EQ(curves.back()->points.front().x, 80);  // the frame's left
    // One curve more, through the recording's selection.
    Window().Curves()->SetShown('8', true);  // the error
    EXPECT_TRUE(Recording().TestBloc('8'));
    CRecordingDC more;
    plot.Render(more, 1920);
    EXPECT_EQ(Polylines(more).size(), 4u);
    // Zoomed twice, the first half of the time axis.
    plot.ZoomIn();
    plot.Scroll(-20);
    CRecordingDC zoomed;
    plot.Render(zoomed, 1920);
    EXPECT_EQ(plot.TimeAxis().m_dernier, 32);
    EXPECT_EQ(Polylines(zoomed).front()->points.size(), 33u);
}

TEST_F(WindowRun, TheOvershootDrawnDuringARunIsTheOneShownOnceItHasEnded)
{
    OpenFast();
    ASSERT_EQ(Bench().SetRecording(320, 500), "");  // 20 blocks, time for the level to settle
    window::PlotView& plot = *Window().Plot();
    plot.SetMarkers(true);
    const auto texts = [&] {
        CRecordingDC dc;
        plot.Render(dc, 1920);
        std::vector<std::string> drawn;
        for (const auto& call : dc.Calls())
            if (call.op == "text") drawn.push_back(call.text);
        return drawn;
    };
    std::vector<std::vector<std::string>> live;  // at each block
    QObject::connect(&Bench().Card(), &window::CardConnection::blockAcquired, &plot,
                     [&](int, int) { live.push_back(texts()); });
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    ASSERT_EQ(Blocks(), 20);
    const std::vector<std::string> ended = texts();
    ASSERT_FALSE(live.empty());
    EXPECT_EQ(live.back(), ended);
    // The engine's reading of the whole record: the level settles 25 % beyond its setpoint step.
    const StepFigures figures = ExperimentStep(Bench().ShownSettings(), Bench().ShownElements());
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    const std::string overshoot = tarvic::Format("%.1f %%", double{*figures.overshoot});
    EXPECT_NE(std::find(ended.begin(), ended.end(), overshoot), ended.end()) << overshoot;
    // From the block where the response is first judged settled, the same overshoot every time.
    const auto drawn = [](const std::vector<std::string>& texts, const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    int settledBlocks = 0;
    for (const auto& block : live) {
        if (!drawn(block, "D\xE9passement")) continue;
        ++settledBlocks;
        EXPECT_TRUE(drawn(block, overshoot)) << settledBlocks;
    }
    EXPECT_GT(settledBlocks, 5);
}

TEST_F(WindowRun, TheCursorSnapsToTheNearestCurveAndReadsItsPoint)
{
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    window::PlotView& plot = *Window().Plot();
    ASSERT_GE(plot.height(), window::PlotView::kHeight);
    CRecordingDC dc;
    plot.Render(dc, plot.width());
    // Early in the step the level is far below its setpoint: a click three pixels off the level's curve.
    const CAxeTemps& time = plot.TimeAxis();
    const int column = time.calculpx(6);
    const int index = time.CalculRang(column);
    const float level = Recording().LitPoint('M', index);
    Click(plot, CPoint(column, plot.ValueAxis(0).ConvIntFloat(level) - 3));
    ASSERT_TRUE(plot.Cursor());
    ASSERT_TRUE(plot.Cursor()->curve);
    EXPECT_EQ(plot.Cursor()->curve->curve.code, 'M');
    EXPECT_EQ(plot.Cursor()->index, index);
    EXPECT_EQ(plot.Cursor()->value, level);
    EXPECT_EQ(plot.Cursor()->at, CPoint(time.calculpx(index), plot.ValueAxis(0).ConvIntFloat(level)));
    const std::string expected = tarvic::Format("t = %.2f s ; Mesure = %.2f %%", index * 0.5, double{level});
    EXPECT_EQ(Window().Status()->CursorText().toStdString(), expected);
    // Far from every curve, only the time.
    Click(plot, CPoint(column, plot.ValueAxis(0).ConvIntFloat(90)));
    ASSERT_TRUE(plot.Cursor());
    EXPECT_FALSE(plot.Cursor()->curve);
    EXPECT_EQ(Window().Status()->CursorText().toStdString(), tarvic::Format("t = %.2f s", index * 0.5));
}

TEST_F(WindowRun, SavedThenOpenedTheExperimentHasTheSameCurves)
{
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    const std::string archive = m_fixture.folder.File("essai.tbc");
    const std::vector<float> saved = Points(Bench().LiveSettings(), Bench().LiveElements());
    m_fixture.prompts.paths = {archive};
    Window().Do(window::Action::Save);
    EXPECT_TRUE(m_fixture.prompts.warnings.empty());
    // Elsewhere meanwhile: another bench.
    ASSERT_EQ(Bench().ChooseBench(*FindBench("debitair")), "");
    m_fixture.prompts.paths = {archive};
    Window().Do(window::Action::Open);
    EXPECT_TRUE(m_fixture.prompts.warnings.empty());
    EXPECT_FALSE(Bench().ShowsLive());
    EXPECT_EQ(Bench().LiveSettings().bench->name, std::string("niveaueau"));  // back on the archive's bench
    EXPECT_EQ(Bench().ShownSettings().mode->name, std::string("pid"));
    EXPECT_EQ(Points(Bench().ShownSettings(), Bench().ShownElements()), saved);
    // Its curves on the plot.
    CRecordingDC dc;
    Window().Plot()->Render(dc, 1920);
    ASSERT_EQ(Polylines(dc).size(), 3u);
    EXPECT_EQ(Polylines(dc).front()->points.size(), 64u);
}

TEST_F(WindowRun, TheCsvExportOffersTheFrenchSpreadsheetsTypeAndSparesArchives)
{
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    const std::string usual = m_fixture.folder.File("essai.csv"), french = m_fixture.folder.File("tableur.csv");
    m_fixture.prompts.paths = {usual};
    Window().Do(window::Action::ExportCsv);
    m_fixture.prompts.csv = window::Prompts::File::CsvFrench;
    m_fixture.prompts.paths = {french};
    Window().Do(window::Action::ExportCsv);
    EXPECT_TRUE(m_fixture.prompts.warnings.empty());
    std::string expected = banc::test::ReadFile(usual);
    ASSERT_EQ(expected.substr(0, 21), "temps_s,consigne_pct,");
    for (char& c : expected) c = c == ',' ? ';' : (c == '.' ? ',' : c);
    EXPECT_EQ(banc::test::ReadFile(french), "\xEF\xBB\xBF" + expected);

    const std::string archive = m_fixture.folder.File("essai.tbc");
    m_fixture.prompts.paths = {archive};
    Window().Do(window::Action::Save);
    const std::string saved = banc::test::ReadFile(archive);
    m_fixture.prompts.csv = window::Prompts::File::Csv;
    m_fixture.prompts.paths = {archive};
    Window().Do(window::Action::ExportCsv);
    m_fixture.prompts.paths = {archive};
    Window().Do(window::Action::ExportPng);
    const std::string refused = archive + " est une archive d'essai : seule une archive peut la remplacer.";
    EXPECT_EQ(m_fixture.prompts.warnings, (std::vector<std::string>{refused, refused}));
    EXPECT_EQ(banc::test::ReadFile(archive), saved);
}

TEST_F(WindowRun, ADamagedArchiveIsRefusedWithAClearMessageAndChangesNothing)
{
    OpenFast();
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    const std::string damaged = m_fixture.folder.File("abime.tbc");
    std::ofstream(damaged, std::ios::binary) << "N\x01\x00\x00\x00pas une archive";
    const std::string profile = banc::test::ReadFile(m_fixture.folder.File("tarvic-banc-niveaueau.ini"));
    const std::vector<float> before = Points(Bench().ShownSettings(), Bench().ShownElements());
    m_fixture.prompts.paths = {damaged};
    Window().Do(window::Action::Open);
    EXPECT_EQ(m_fixture.prompts.warnings,
              std::vector<std::string>{damaged + " n'est pas une archive d'essai lisible."});
    EXPECT_TRUE(Bench().ShowsLive());
    EXPECT_EQ(Points(Bench().ShownSettings(), Bench().ShownElements()), before);
    EXPECT_EQ(banc::test::ReadFile(m_fixture.folder.File("tarvic-banc-niveaueau.ini")), profile);
    EXPECT_EQ(Window().Status()->NoticeText().toStdString(), damaged + " n'est pas une archive d'essai lisible.");
}

TEST_F(WindowRun, ACardThatFallsSilentShowsItsStateAndTheBlocksStay)
{
    std::atomic<bool> silent{false};
    tarvic::test::ScriptedCard card([&](const std::string& line) -> std::optional<std::string> {
        if (silent) return std::nullopt;
        silent = line == "?TSF00";
        return test::CardAnswer(line, 0x0400);
    });
    m_fixture.Prefer("niveaueau", "pid", 1);
    m_fixture.PreferPort(card.Path());
    m_fixture.Open({std::chrono::milliseconds(50), 2});
    ASSERT_EQ(Bench().SetRecording(32, 500), "");
    ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_EQ(Window().Status()->LinkText().toStdString(), "La carte ne r\xC3\xA9pond pas");
    EXPECT_EQ(
        Window().Status()->NoticeText().toStdString(),
        "La carte ne r\xC3\xA9pond plus : \xC2\xAB TEM01 \xC2\xBB envoy\xC3\xA9 2 fois, chaque fois sans r\xC3\xA9ponse "
        "au bout de 0,05 s (0,1 s en tout). 1 bloc sur 2 gard\xC3\xA9.");
    EXPECT_EQ(Blocks(), 1);
    EXPECT_FLOAT_EQ(Recording().LitPoint('M', 31), 0x0400 * 100.0f / 3264);
    CRecordingDC dc;
    Window().Plot()->Render(dc, 1920);
    EXPECT_EQ(Polylines(dc).front()->points.size(), 32u);
    // It answers again: the watch sees it.
    silent = false;
    EXPECT_TRUE(SpinUntil([&] { return Window().Status()->LinkText().toStdString() == "Carte connect\xC3\xA9" "e"; }));
}

TEST_F(WindowRun, APortThatGoesAwayIsTriedAgainUntilItIsBackAndTheStatusBarSaysSo)
{
    // The port by a name of its own, as /dev/serial/by-id names an adapter wherever it is plugged.
    const std::string port = m_fixture.folder.File("carte");
    auto card =
        std::make_unique<tarvic::test::ScriptedCard>([](const std::string& line) { return test::CardAnswer(line); });
    ASSERT_EQ(::symlink(card->Path().c_str(), port.c_str()), 0);
    m_fixture.Prefer("niveaueau", "pid", 1);
    m_fixture.PreferPort(port);
    m_fixture.Open({std::chrono::milliseconds(50), 2});
    std::vector<std::string> waits;
    QObject::connect(&Bench().Card(), &window::CardConnection::stateChanged, [&](LinkState state, const QString& text) {
        if (state == LinkState::Lost) waits.push_back(text.toStdString());
    });
    ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
    // Pulled out: the card's end closes and its name goes.
    card.reset();
    ASSERT_EQ(::unlink(port.c_str()), 0);
    const std::string missing = "Port " + port + " introuvable : nouvel essai toutes les 0,05 s";
    ASSERT_TRUE(SpinUntil([&] { return Window().Status()->LinkText().toStdString() == missing; }));
    EXPECT_FALSE(Bench().Card().IsConnected());
    EXPECT_EQ(waits, (std::vector<std::string>{"Liaison perdue : nouvel essai toutes les 0,05 s", missing}));
    // Plugged in again: the window takes it up by itself and watches the card.
    tarvic::test::ScriptedCard back([](const std::string& line) { return test::CardAnswer(line); });
    ASSERT_EQ(::symlink(back.Path().c_str(), port.c_str()), 0);
    EXPECT_TRUE(SpinUntil([&] { return Window().Status()->LinkText().toStdString() == "Carte connect\xC3\xA9" "e"; }));
    EXPECT_TRUE(SpinUntil([&] { return !back.LinesFrom("?AEBC").empty(); }));
    EXPECT_EQ(waits.size(), 2u);
}

TEST_F(WindowRun, AStationsCardIsNamedOnceByTheWatchAndTheRunKeepsNoBlocks)
{
    std::atomic<int> identified{0};
    tarvic::test::ScriptedCard card([&](const std::string& line) -> std::optional<std::string> {
        if (line != "?VER") return "!Erreur";
        ++identified;
        return "!VER CARDSIM 1.0";
    });
    m_fixture.Prefer("niveaueau", "pid", 1);
    m_fixture.PreferPort(card.Path());
    m_fixture.Open({std::chrono::milliseconds(50), 2});
    // Connected before the loop runs: no news of the card is missed.
    std::vector<std::string> notices;
    QObject::connect(&Bench().Card(), &window::CardConnection::refused,
                     [&](const QString& text) { notices.push_back(text.toStdString()); });
    // The watch's requests, refused turn after turn, are said once, with what the card says it is.
    // The notice comes through the window's event queue: waited for as well as the card's lines.
    ASSERT_TRUE(SpinUntil([&] { return card.Lines().size() > 12 && !notices.empty(); }));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0],
              "La carte qui r\xC3\xA9pond se pr\xC3\xA9sente comme \xC2\xAB CARDSIM 1.0 \xC2\xBB et a refus\xC3\xA9 "
              "la lecture des mesures du banc niveaueau (\xC2\xAB AEBC \xC2\xBB, r\xC3\xA9ponse !Erreur) : ce "
              "n'est pas la carte de ce banc.");
    EXPECT_EQ(identified, 1);
    // A run says so too, and keeps none of the blocks it never had.
    std::string ended;
    QObject::connect(&Bench(), &window::Workbench::runEnded,
                     [&] { ended = Window().Status()->NoticeText().toStdString(); });
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    ASSERT_TRUE(SpinUntil([&] { return !ended.empty(); }));
    EXPECT_EQ(ended.find("bloc"), std::string::npos) << ended;
    EXPECT_NE(ended.find("la premi\xC3\xA8re ligne du banc niveaueau"), std::string::npos) << ended;
    EXPECT_EQ(Blocks(), 0);
}

TEST_F(WindowRun, ClosingWhileARunIsOnAsksWhetherToSaveWhatWasAcquired)
{
    m_fixture.Prefer("niveaueau", "pid", 20);
    m_fixture.Open();
    ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
    Window().Do(window::Action::Start);
    ASSERT_TRUE(SpinUntil([&] { return Blocks() >= 1; }));
    // Cancelled: the window and the run go on.
    m_fixture.prompts.closing = {window::Prompts::Closing::Cancel};
    EXPECT_FALSE(Window().close());
    EXPECT_EQ(m_fixture.prompts.questions, 1);
    EXPECT_TRUE(Bench().Running());
    // Saved: the run stops, what was acquired goes to the archive, the window closes.
    const std::string archive = m_fixture.folder.File("interrompu.tbc");
    m_fixture.prompts.closing = {window::Prompts::Closing::Save};
    m_fixture.prompts.paths = {archive};
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(m_fixture.prompts.questions, 2);
    EXPECT_FALSE(Bench().Running());
    LoadedExperiment loaded;
    ASSERT_EQ(LoadArchive(archive, loaded), "");
    EXPECT_GE(BlocksAcquired(*loaded.elements.recording), 1);
    EXPECT_EQ(BlocksAcquired(*loaded.elements.recording), Blocks());
}

TEST_F(WindowRun, WhatARunStoppedByClosingAcquiredIsNotDroppedByTheNextClose)
{
    m_fixture.Prefer("niveaueau", "pid", 20);
    m_fixture.Open();
    ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
    Window().Do(window::Action::Start);
    ASSERT_TRUE(SpinUntil([&] { return Blocks() >= 1; }));
    // Saved, but the file dialog cancelled: the run is stopped, the window stays.
    m_fixture.prompts.closing = {window::Prompts::Closing::Save};
    EXPECT_FALSE(Window().close());
    EXPECT_FALSE(Bench().Running());
    // What it acquired is in no archive: closing again asks.
    m_fixture.prompts.dropping = {window::Prompts::Closing::Cancel};
    EXPECT_FALSE(Window().close());
    EXPECT_EQ(m_fixture.prompts.droppingAsked,
              std::vector<window::Prompts::Dropping>{window::Prompts::Dropping::Closing});
    EXPECT_GE(Blocks(), 1);
}
