#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

#include <tarvic/platform/RecordingDC.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>
#include <tarvic/widgets/IconButton.h>

#include <cmath>

#include "LoggedCardWindow.h"
#include "engine/lab/RecordedResponse.h"
#include "engine/model/NumberText.h"
#include "engine/outputs/LabText.h"
#include "engine/outputs/Results.h"
#include "engine/run/Download.h"
#include "recording/RecordingSupport.h"
#include "window/CurveList.h"
#include "window/IdentificationPanel.h"
#include "window/LabSession.h"
#include "window/MenuBar.h"
#include "window/PlotView.h"
#include "window/TuningDialog.h"

using namespace banc;
using banc::test::SpinUntil;

namespace {

using Lines = std::vector<std::string>;

constexpr COLORREF kModelColour = RGB(255, 140, 0);
constexpr int kCommandRow = 0, kSetpointRow = 8;
constexpr int kLevelRows[] = {4, 5, 7};  // the levels and the loop's measurement: whichever the run watches
constexpr float kFullScale = 3264;

std::uint16_t Counts(double percent) { return static_cast<std::uint16_t>(percent * kFullScale / 100); }

// The water level bench in open loop on the simulated card of a port, whose
// traffic the test reads; its recording of two blocks 500 ms apart is filled
// by the test or by a run.
class WindowLab : public banc::test::LoggedCardWindow {
protected:
    WindowLab() : LoggedCardWindow("bo") {}
    void SetUp() override
    {
        LoggedCardWindow::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(Bench().SetRecording(32, 500), "");
    }
    window::Workbench& Bench() { return m_fixture.Bench(); }
    window::BenchWindow& Window() { return m_fixture.Window(); }
    window::LabSession& Lab() { return Window().Lab(); }
    // The command stepping from 20 to 60 % at point 8 (4 s), the level from
    // 30 % following it as a first order of gain 0.5, lag 4 s, delay 1 s.
    void RecordStep(double gain = 0.5)
    {
        Record([gain](int i) { return i < 8 ? 20.0 : 60.0; },
               [gain](int i) {
                   const double t = i * 0.5 - 5;
                   return 30 + (t > 0 ? gain * 40 * (1 - std::exp(-t / 4)) : 0);
               });
    }
    template <class Command, class Level>
    void Record(Command command, Level level)
    {
        std::vector<tarvic::test::Valeurs> blocks(2);
        for (int i = 0; i < 64; ++i) {
            auto& block = blocks[static_cast<std::size_t>(i / 32)];
            block[kCommandRow][i % 32] = Counts(command(i));
            block[kSetpointRow][i % 32] = Counts(command(i));
            for (int row : kLevelRows) block[static_cast<std::size_t>(row)][i % 32] = Counts(level(i));
        }
        std::lock_guard lock(Bench().Lock());
        tarvic::test::Acquiert(*Bench().LiveElements().recording, blocks);
    }
    window::IdentificationPanel& Identify()
    {
        Window().Do(window::Action::Identify);
        auto* panel = dynamic_cast<window::IdentificationPanel*>(Window().OpenDialog());
        EXPECT_NE(panel, nullptr);
        return *panel;
    }
    window::TuningDialog& Tuning(window::IdentificationPanel& panel)
    {
        panel.Tuning()->click();
        auto* dialog = panel.findChild<window::TuningDialog*>();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    // The rows of the suggestions of a PI, first the ones of distinct settings.
    std::vector<int> PiRows()
    {
        std::vector<int> rows;
        const auto& suggestions = Lab().Result()->suggestions;
        for (std::size_t i = 0; i < suggestions.size(); ++i) {
            const ControllerSettings& s = suggestions[i].settings;
            const bool other = std::none_of(rows.begin(), rows.end(), [&](int row) {
                const ControllerSettings& t = suggestions[static_cast<std::size_t>(row)].settings;
                return t.kp == s.kp || t.ti == s.ti;
            });
            if (s.actions == "PI" && other) rows.push_back(static_cast<int>(i));
        }
        return rows;
    }
    void Apply(window::TuningDialog& dialog, int row)
    {
        dialog.Suggestions()->selectRow(row);
        ASSERT_TRUE(dialog.ApplyButton()->isEnabled());
        dialog.ApplyButton()->click();
    }
    // The card's fixed-point fields of K1 and K2, and of Ti at the water level's 500 ms.
    static std::string GainLine(const ControllerSettings& s)
    {
        const float normaliser = static_cast<float>(3276.0 / double{s.ks});
        return tarvic::Format("!RKP%4.4X%4.4X%8.8X", static_cast<int>(double{s.kp} * 1024),
                              static_cast<int>(double{s.ks} * 256), static_cast<int>(double{normaliser} * 1024 * 20));
    }
    static std::string IntegralLine(const ControllerSettings& s)
    {
        return tarvic::Format("!RKI%4.4X", static_cast<int>(500.0 / double{s.ti} * 1024 / 1000));
    }
    static std::vector<std::string> Cells(QTableWidget& view)
    {
        std::vector<std::string> cells;
        for (int row = 0; row < view.rowCount(); ++row)
            for (int column = 0; column < view.columnCount(); ++column)
                cells.push_back(view.item(row, column)->text().toLatin1().toStdString());
        return cells;
    }
    static std::vector<std::string> Cells(const TextTable& table)
    {
        std::vector<std::string> cells;
        for (const auto& row : table.rows) cells.insert(cells.end(), row.begin(), row.end());
        return cells;
    }
    static std::vector<const CRecordingDC::Call*> InPen(const CRecordingDC& dc, const char* op, COLORREF colour)
    {
        std::vector<const CRecordingDC::Call*> calls;
        for (const auto& call : dc.Calls())
            if (call.op == op && call.pen.lopnColor == colour && call.points.front().y <= 675) calls.push_back(&call);
        return calls;
    }
};

}  // namespace

TEST_F(WindowLab, IdentifierIsOfferedOnAnOpenLoopRunOverNotOnAClosedLoops)
{
    window::MenuBar& menus = *Window().Menus();
    CIconButton& button = *Window().Actions()->Button(window::Action::Identify);
    EXPECT_FALSE(menus.Of(window::Action::Identify)->isEnabled());
    EXPECT_FALSE(button.isEnabled());
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_TRUE(menus.Of(window::Action::Identify)->isEnabled());
    EXPECT_TRUE(button.isEnabled());
    // The loop chosen, the open-loop run stays on show, to identify.
    ASSERT_EQ(Bench().ChooseMode(*FindMode(*Bench().LiveSettings().bench, "pid")), "");
    EXPECT_FALSE(Bench().ShowsLive());
    EXPECT_TRUE(menus.Of(window::Action::Identify)->isEnabled());
    // A closed-loop run has nothing to identify.
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_FALSE(menus.Of(window::Action::Identify)->isEnabled());
    EXPECT_FALSE(button.isEnabled());
    Window().Do(window::Action::Identify);
    EXPECT_EQ(m_fixture.prompts.warnings,
              Lines{"Rien \xE0 identifier : il faut un essai en boucle ouverte termin\xE9 ou ouvert."});
}

TEST_F(WindowLab, ARunStoppedBeforeItsEndIdentifiesNothingAndSaysSo)
{
    ASSERT_EQ(Bench().SetRecording(320, 500), "");  // 20 blocks, time to stop it
    Window().Do(window::Action::Start);
    ASSERT_TRUE(Bench().Running());
    ASSERT_TRUE(SpinUntil([&] {
        std::lock_guard lock(Bench().Lock());
        return Bench().LiveElements().recording->LitNbPoint() >= 2 * kPointsPerBlock;
    }));
    Window().Do(window::Action::Stop);
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }));
    EXPECT_FALSE(Window().Menus()->Of(window::Action::Identify)->isEnabled());
    EXPECT_FALSE(Window().Actions()->Button(window::Action::Identify)->isEnabled());
    Window().Do(window::Action::Identify);
    EXPECT_EQ(m_fixture.prompts.warnings,
              Lines{"L'essai s'est arr\xEAt\xE9 avant sa fin : il n'identifie rien. Refaites-le jusqu'au bout."});
    EXPECT_EQ(Lab().Result(), nullptr);
    // Run again to its end, it does.
    ASSERT_EQ(Bench().SetRecording(32, 500), "");
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_TRUE(Window().Menus()->Of(window::Action::Identify)->isEnabled());
}

TEST_F(WindowLab, TheIdentificationDrawsTheModelAndTheMethodsOverTheMeasurementAndListsTheModels)
{
    RecordStep();
    Window().Curves()->SetShown(CurvesOf(Bench().ShownSettings(), Bench().ShownElements()).measure.code, false);
    window::IdentificationPanel& panel = Identify();
    const LabResult& result = *Lab().Result();
    ASSERT_TRUE(result.identification.Identified()) << result.identification.refusal;
    // The record is the run's, the model near the one recorded (gain 0.5, lag 4 s, delay 1 s).
    EXPECT_EQ(result.record.measure, RecordedResponse(Bench().ShownSettings(), Bench().ShownElements()).measure);
    const analysis::ProcessModel& model = result.identification.fit->model;
    EXPECT_NEAR(model.gain, 0.5, 0.02);
    EXPECT_NEAR(model.timeConstant, 4, 0.2);
    // The table is the engine's, cell for cell.
    ASSERT_NE(panel.Models(), nullptr);
    EXPECT_EQ(Cells(*panel.Models()), Cells(ModelTable(result.identification, "%", "%", 0.5)));
    EXPECT_EQ(panel.Models()->rowCount(), static_cast<int>(1 + result.identification.methods.size()));
    EXPECT_TRUE(panel.Tuning()->isEnabled());
    // On the plot, over the measurement, shown if it was not: the model's response to the step from the level
    // at rest, at each point of the record.
    const int measure = CurvesOf(Bench().ShownSettings(), Bench().ShownElements()).measure.code;
    const std::vector<PlotCurve> shown = Window().Curves()->Shown();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const PlotCurve& c) { return c.curve.code == measure; }));
    window::PlotView& plot = *Window().Plot();
    CRecordingDC dc;
    plot.Render(dc, 1920);
    const auto lines = InPen(dc, "polyline", kModelColour);
    ASSERT_EQ(lines.size(), 1u);
    std::vector<CPoint> expected;
    const analysis::StepAnalysed& step = result.identification.step;
    for (int i = 0; i < 64; ++i) {
        const double value =
            step.measureBefore + model.StepResponse(i * 0.5 - step.stepTime, step.commandAfter - step.commandBefore);
        expected.emplace_back(plot.TimeAxis().ConvIntFloat(i * 0.5f),
                              plot.ValueAxis(0).ConvIntFloat(static_cast<float>(value)));
    }
    EXPECT_EQ(lines[0]->points, expected);
    EXPECT_EQ(lines[0]->pen.lopnStyle, PS_SOLID);
    // Each point a method read, a cross of its own colour where it read it.
    for (const analysis::MethodResult& method : result.identification.methods)
        for (const analysis::CurvePoint& point : method.points) {
            const CPoint at(plot.TimeAxis().ConvIntFloat(static_cast<float>(point.t)),
                            plot.ValueAxis(0).ConvIntFloat(static_cast<float>(point.value)));
            const bool crossed = std::any_of(dc.Calls().begin(), dc.Calls().end(), [&](const auto& call) {
                return call.op == "line" && call.points[0] == CPoint(at.x - 4, at.y - 4) &&
                       call.points[1] == CPoint(at.x + 4, at.y + 4);
            });
            EXPECT_TRUE(crossed) << method.key << " " << point.t;
        }
    // Another experiment shown: the identification goes with the one it was of.
    ASSERT_EQ(Bench().ChooseBench(*FindBench("axnum")), "");
    EXPECT_EQ(Lab().Result(), nullptr);
    CRecordingDC other;
    plot.Render(other, 1920);
    EXPECT_TRUE(InPen(other, "polyline", kModelColour).empty());
}

TEST_F(WindowLab, AnOpenedOpenLoopArchiveIsIdentifiedAsItsRunWas)
{
    RecordStep();
    const analysis::StepRecord recorded = RecordedResponse(Bench().ShownSettings(), Bench().ShownElements());
    const std::string archive = m_fixture.folder.File("boucle-ouverte.tbc");
    m_fixture.prompts.paths = {archive};
    Window().Do(window::Action::Save);
    // Elsewhere meanwhile: the loop's mode, whose run has nothing to identify.
    ASSERT_EQ(Bench().ChooseMode(*FindMode(*Bench().LiveSettings().bench, "pid")), "");
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    ASSERT_FALSE(Window().Menus()->Of(window::Action::Identify)->isEnabled());
    m_fixture.prompts.paths = {archive};
    Window().Do(window::Action::Open);
    ASSERT_TRUE(m_fixture.prompts.warnings.empty());
    ASSERT_FALSE(Bench().ShowsLive());
    EXPECT_TRUE(Window().Menus()->Of(window::Action::Identify)->isEnabled());
    EXPECT_TRUE(Window().Actions()->Button(window::Action::Identify)->isEnabled());
    window::IdentificationPanel& panel = Identify();
    ASSERT_NE(Lab().Result(), nullptr);
    EXPECT_EQ(Lab().Result()->record.measure, recorded.measure);
    EXPECT_EQ(Lab().Result()->record.command, recorded.command);
    EXPECT_TRUE(Lab().Result()->identification.Identified());
    EXPECT_NE(panel.Models(), nullptr);
}

TEST_F(WindowLab, ARunWithNoStepIsRefusedWithItsReasonAndNothingDrawn)
{
    Record([](int) { return 40.0; }, [](int) { return 30.0; });
    window::IdentificationPanel& panel = Identify();
    const LabResult& result = *Lab().Result();
    ASSERT_FALSE(result.identification.refusal.empty());
    EXPECT_EQ(panel.Models(), nullptr);
    EXPECT_EQ(panel.Reason()->text().toLatin1().toStdString(), result.identification.refusal);
    EXPECT_FALSE(panel.Reason()->isHidden());
    EXPECT_FALSE(panel.Tuning()->isEnabled());
    CRecordingDC dc;
    Window().Plot()->Render(dc, 1920);
    EXPECT_TRUE(InPen(dc, "polyline", kModelColour).empty());
}

TEST_F(WindowLab, AppliquerMakesTheClosedLoopWithTheSettingsAndSendsItsWholeConfiguration)
{
    RecordStep();
    window::TuningDialog& dialog = Tuning(Identify());
    const LabResult& result = *Lab().Result();
    EXPECT_EQ(Cells(*dialog.Suggestions()), Cells(SuggestionTable(result.suggestions)));
    EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
    const std::vector<int> rows = PiRows();
    ASSERT_FALSE(rows.empty());
    const ControllerSettings& chosen = result.suggestions[static_cast<std::size_t>(rows[0])].settings;
    LetTheWatchTurn();
    ASSERT_EQ(Orders(), Lines{});
    Apply(dialog, rows[0]);
    EXPECT_EQ(dialog.Message()->styleSheet(), QString()) << dialog.Message()->text().toStdString();
    // The bench's PID mode on the level watched, its coefficients the suggestion's.
    EXPECT_EQ(Bench().LiveSettings().mode->name, std::string("pid"));
    float kp = 0, ti = 0;
    Bench().LiveElements().controller->LitFParam(10, kp);
    Bench().LiveElements().controller->LitFParam(11, ti);
    EXPECT_EQ(kp, chosen.kp);
    EXPECT_EQ(ti, chosen.ti);
    // The mode changed: the whole configuration, as a mode chosen sends it, with the suggestion's gain and integral.
    Lines expected;
    {
        std::lock_guard lock(Bench().Lock());
        for (const std::string& line : ConfigurationLines(Bench().LiveElements(), Bench().LiveSettings()))
            expected.push_back("!" + line);
    }
    ASSERT_TRUE(SpinUntil([&] { return Orders().size() >= expected.size(); }));
    LetTheWatchTurn();
    EXPECT_EQ(Orders(), expected);
    EXPECT_NE(std::find(expected.begin(), expected.end(), GainLine(chosen)), expected.end()) << GainLine(chosen);
    EXPECT_NE(std::find(expected.begin(), expected.end(), IntegralLine(chosen)), expected.end())
        << IntegralLine(chosen);
    // The open-loop run stays on show with its model.
    EXPECT_NE(Lab().Result(), nullptr);
}

TEST_F(WindowLab, ASettingTheControllerCannotTakeIsRefusedAndNothingChanges)
{
    RecordStep();
    Identify();
    const LoopTarget loop = ClosedLoopFor(Bench().ShownSettings());
    ASSERT_EQ(loop.refusal, "");
    ControllerSettings beyond = Lab().Result()->suggestions.front().settings;
    beyond.kp = 80;  // more than the 64 the card's field carries
    LetTheWatchTurn();
    // Made again in the loop's mode: refused by the loop's elements, the window stays in open loop.
    EXPECT_EQ(Bench().ApplyController(loop.settings, beyond), "--kp 80 : hors limites, de 0,001 \xE0 63,999.");
    EXPECT_EQ(Bench().LiveSettings().mode->name, std::string("bo"));
    // On the loop already: refused as the controller's dialog refuses it, the coefficients as they were.
    ASSERT_EQ(Bench().ApplyController(loop.settings, Lab().Result()->suggestions.front().settings), "");
    ASSERT_TRUE(SpinUntil([&] { return !Orders().empty(); }));
    LetTheWatchTurn();
    const std::size_t sent = Orders().size();
    float kp = 0;
    Bench().LiveElements().controller->LitFParam(10, kp);
    EXPECT_EQ(Bench().ApplyController(loop.settings, beyond),
              "gain proportionnel K1 (PID) : 80 est hors limites (de 0,001 \xE0 63,999).");
    float unchanged = 0;
    Bench().LiveElements().controller->LitFParam(10, unchanged);
    EXPECT_EQ(unchanged, kp);
    LetTheWatchTurn();
    EXPECT_EQ(Orders().size(), sent);
}

TEST_F(WindowLab, TheIdentificationsDialogsGoWithTheRunTheyWereOf)
{
    RecordStep();
    window::IdentificationPanel& panel = Identify();
    QPointer<window::TuningDialog> tuning = &Tuning(panel);
    QPointer<window::IdentificationPanel> shown = &panel;
    ASSERT_TRUE(shown->isVisible());
    ASSERT_TRUE(tuning->isVisible());
    // A new run replaces the one shown.
    Window().Do(window::Action::Start);
    ASSERT_TRUE(Bench().Running());
    EXPECT_EQ(Lab().Result(), nullptr);
    EXPECT_TRUE(SpinUntil([&] { return shown.isNull() && tuning.isNull(); }));
    Window().Do(window::Action::Stop);
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }));
}

TEST_F(WindowLab, AppliquerOnTheLoopAlreadySendsTheChangedCoefficientsLinesAlone)
{
    RecordStep();
    window::TuningDialog& dialog = Tuning(Identify());
    const std::vector<int> rows = PiRows();
    ASSERT_GE(rows.size(), 2u);
    Apply(dialog, rows[0]);
    ASSERT_EQ(Bench().LiveSettings().mode->name, std::string("pid"));
    ASSERT_TRUE(SpinUntil([&] { return !Orders().empty(); }));
    LetTheWatchTurn();
    const std::size_t before = Orders().size();
    // Another PI: its gain and its integral, nothing else.
    const ControllerSettings& other = Lab().Result()->suggestions[static_cast<std::size_t>(rows[1])].settings;
    Apply(dialog, rows[1]);
    EXPECT_EQ(dialog.Message()->styleSheet(), QString()) << dialog.Message()->text().toStdString();
    ASSERT_TRUE(SpinUntil([&] { return Orders().size() >= before + 2; }));
    LetTheWatchTurn();
    const Lines orders = Orders();
    EXPECT_EQ(Lines(orders.begin() + static_cast<std::ptrdiff_t>(before), orders.end()),
              (Lines{GainLine(other), IntegralLine(other)}));
    // The same again: nothing has changed, nothing is sent.
    Apply(dialog, rows[1]);
    LetTheWatchTurn();
    EXPECT_EQ(Orders().size(), orders.size());
}

TEST_F(WindowLab, ThePredictedResponseIsDrawnDashedOverTheNextClosedLoopRun)
{
    RecordStep();
    window::TuningDialog& dialog = Tuning(Identify());
    const std::vector<int> rows = PiRows();
    ASSERT_FALSE(rows.empty());
    Apply(dialog, rows[0]);
    const analysis::ProcessModel model = Lab().Result()->identification.fit->model;
    // Over the open-loop run still shown, beside the model, solid, the loop's predicted response, dashed.
    window::PlotView& plot = *Window().Plot();
    CRecordingDC before;
    plot.Render(before, 1920);
    const auto drawn = InPen(before, "polyline", kModelColour);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0]->pen.lopnStyle, PS_SOLID);
    EXPECT_EQ(drawn[1]->pen.lopnStyle, PS_DASH);
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    ASSERT_EQ(Bench().ShownSettings().mode->name, std::string("pid"));
    EXPECT_EQ(Lab().Result(), nullptr);
    analysis::LoopPrediction prediction;
    {
        std::lock_guard lock(Bench().Lock());
        prediction = PredictRun(model, Bench().LiveSettings(), Bench().LiveElements());
    }
    ASSERT_GT(prediction.measure.size(), 10u);
    CRecordingDC dc;
    plot.Render(dc, 1920);
    const auto lines = InPen(dc, "polyline", kModelColour);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->pen.lopnStyle, PS_DASH);
    // Its points at the prediction's times on the plot's axes, those of the recording's span.
    const float span = plot.TimeAxis().m_dernier * 0.5f;
    std::size_t compared = 0;
    for (std::size_t i = 0; i < prediction.measure.size() && i < lines[0]->points.size(); ++i) {
        const float t = static_cast<float>(i * prediction.period);
        if (t > span) break;
        EXPECT_EQ(lines[0]->points[i],
                  CPoint(plot.TimeAxis().ConvIntFloat(t),
                         plot.ValueAxis(0).ConvIntFloat(static_cast<float>(prediction.measure[i]))))
            << i;
        ++compared;
    }
    EXPECT_GT(compared, 10u);
    // Another mode: the prediction goes.
    ASSERT_EQ(Bench().ChooseMode(*FindMode(*Bench().LiveSettings().bench, "tor")), "");
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    CRecordingDC after;
    plot.Render(after, 1920);
    EXPECT_TRUE(InPen(after, "polyline", kModelColour).empty());
}
