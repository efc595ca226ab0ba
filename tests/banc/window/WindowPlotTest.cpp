#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QMouseEvent>

#include <tarvic/platform/RecordingDC.h>
#include <tarvic/recording/Enregistrement.h>

#include <algorithm>

#include "RecordedPlot.h"
#include "WindowFixture.h"
#include "engine/outputs/Results.h"
#include "recording/RecordingSupport.h"
#include "window/CurveList.h"
#include "window/PlotView.h"
#include "window/RunStatus.h"

using namespace banc;
using banc::test::SpinUntil;
using banc::window::LinkState;
using tarvic::test::Valeurs;

namespace {

// The drawing 1920 wide: the frame from column 80 to 1840, from row 75 (100 %) to 675 (0 %).
constexpr int kLeft = 80, kRight = 1840, kTop = 75, kBottom = 675;
constexpr COLORREF kCursorColour = RGB(90, 90, 90);

class WindowPlot : public banc::test::RecordedPlot {
protected:
    // A click at a point of the drawing last made.
    void Click(CPoint logical)
    {
        const QPoint at = Plot().ToWidget(logical);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), Plot().mapToGlobal(QPointF(at)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Plot(), &press);
    }
    // The columns of the cursor's lines drawn.
    static std::vector<int> CursorColumns(const CRecordingDC& dc)
    {
        std::vector<int> columns;
        for (const auto& call : dc.Calls())
            if (call.op == "line" && call.pen.lopnColor == kCursorColour) columns.push_back(call.points.front().x);
        return columns;
    }
    int SetpointCode()
    {
        return CurvesOf(m_fixture.Bench().ShownSettings(), m_fixture.Bench().ShownElements()).setpoint.code;
    }
    QImage Export(const std::string& name)
    {
        const std::string path = m_fixture.folder.File(name);
        m_fixture.prompts.paths = {path};
        m_fixture.Window().Do(window::Action::ExportPng);
        EXPECT_TRUE(m_fixture.prompts.warnings.empty());
        return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    }
    // The pixels of this colour in the rectangle.
    static int Count(const QImage& image, QRect area, QRgb colour)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour ? 1 : 0;
        return count;
    }
};

// The measurement rising from 0 to 100 % over the 64 points.
float Ramp(int i) { return 100.0f * static_cast<float>(i) / 63; }

}  // namespace

TEST_F(WindowPlot, TheCursorStaysAtItsTimeWhenTheViewZoomsAndScrolls)
{
    Record(Ramp);
    CRecordingDC whole;
    Draw(whole);
    // Point 20 (10 s) of 64 over the 1760 columns: column 80 + 20 * 27.5 = 630.
    Click(CPoint(630, Plot().ValueAxis(0).ConvIntFloat(Ramp(20))));
    ASSERT_TRUE(Plot().Cursor());
    ASSERT_EQ(Plot().Cursor()->index, 20);
    EXPECT_EQ(m_fixture.Window().Status()->CursorText().toStdString(), "t = 10.00 s ; Mesure = 31.74 %");
    // Zoomed in around the middle: points 15 to 47 (five tenths of 3 points on) over the frame, 55 columns a point.
    Plot().ZoomIn();
    CRecordingDC zoomed;
    Draw(zoomed);
    ASSERT_EQ(Plot().TimeAxis().m_premier, 15);
    EXPECT_EQ(CursorColumns(zoomed), std::vector<int>{kLeft + 5 * 55});
    EXPECT_EQ(Plot().Cursor()->at.x, kLeft + 5 * 55);
    // Scrolled back to the start: points 0 to 32.
    Plot().Scroll(-10);
    CRecordingDC start;
    Draw(start);
    ASSERT_EQ(Plot().TimeAxis().m_premier, 0);
    EXPECT_EQ(CursorColumns(start), std::vector<int>{kLeft + 20 * 55});
    // Its row follows the measurement's point: 31.75 % of the 600 rows above the bottom.
    EXPECT_EQ(Plot().Cursor()->at.y, Plot().ValueAxis(0).ConvIntFloat(Plot().Cursor()->value));
    // Scrolled to the end, points 30 to 62: out of sight, not drawn; the reading stays.
    Plot().Scroll(20);
    CRecordingDC end;
    Draw(end);
    ASSERT_EQ(Plot().TimeAxis().m_premier, 30);
    EXPECT_EQ(CursorColumns(end), std::vector<int>{});
    EXPECT_EQ(m_fixture.Window().Status()->CursorText().toStdString(), "t = 10.00 s ; Mesure = 31.74 %");
}

TEST_F(WindowPlot, TheResponseTimesBandStaysInsideThePlotsFrameWhenTheStepIsScrolledOut)
{
    Record(banc::test::RampWithOvershoot);
    Plot().SetMarkers(true);
    // Points 15 to 47: the step (point 0) out of sight on the left, the settling (point 23) in sight.
    Plot().ZoomIn();
    CRecordingDC dc;
    Draw(dc);
    ASSERT_EQ(Plot().TimeAxis().m_premier, 15);
    int lines = 0;
    for (const auto& call : dc.Calls()) {
        if (call.op != "line" && call.op != "polyline") continue;
        ++lines;
        for (const CPoint& point : call.points) {
            EXPECT_TRUE(point.x >= kLeft && point.x <= kRight && point.y >= kTop && point.y <= kBottom)
                << call.op << " (" << point.x << "," << point.y << ")";
        }
    }
    EXPECT_GT(lines, 22);  // the grid's, the curves', the markers'
    // The overshoot to 110 % widens the value axis to -10 .. 110 %, 5 rows a percent: the final 100 % at row 125,
    // its band of 95 to 105 % from the frame's left, and not from the step's column far left of it.
    EXPECT_TRUE(Line(dc, {kLeft, 125}, {kRight, 125}));
    EXPECT_TRUE(Line(dc, {kLeft, 100}, {kRight, 100}));
    EXPECT_TRUE(Line(dc, {kLeft, 150}, {kRight, 150}));
    // The settling's column at point 23, the peak's at point 20, the first of its plateau.
    EXPECT_TRUE(Line(dc, {kLeft + 8 * 55, kTop}, {kLeft + 8 * 55, kBottom}));
    EXPECT_TRUE(Line(dc, {kLeft + 5 * 55, kTop}, {kLeft + 5 * 55, kBottom}));
}

TEST_F(WindowPlot, ThePngExportIsThePlotAsShownZoomedWithTheCurvesCheckedAndTheCursor)
{
    Record(Ramp);
    const QRect frame(kLeft + 1, kTop + 1, Plot().LogicalWidth() - 2 * kLeft - 2, kBottom - kTop - 2);
    const QRgb setpoint = qRgb(0, 128, 0), measure = qRgb(0, 0, 255), cursor = qRgb(90, 90, 90);
    const QImage shown = Export("affiche.png");
    ASSERT_EQ(shown.size(), QSize(Plot().LogicalWidth(), window::PlotView::kHeight));
    EXPECT_GT(Count(shown, frame, setpoint), 1000);
    // The first half, the setpoint taken off the plot, the cursor on point 16.
    Plot().ZoomIn();
    Plot().Scroll(-10);
    m_fixture.Window().Curves()->SetShown(SetpointCode(), false);
    const int right = Plot().LogicalWidth() - kLeft;
    const auto column = [&](int index, int span) { return kLeft + index * (right - kLeft) / span; };
    const auto row = [](float percent) { return static_cast<int>(kBottom - percent * 6); };
    CRecordingDC drawn;
    Plot().Render(drawn, Plot().LogicalWidth());
    Click(CPoint(column(16, 32), row(Ramp(16))));
    ASSERT_TRUE(Plot().Cursor());
    ASSERT_EQ(Plot().Cursor()->index, 16);
    const QImage zoomed = Export("zoome.png");
    ASSERT_EQ(zoomed.size(), QSize(Plot().LogicalWidth(), window::PlotView::kHeight));
    EXPECT_EQ(Count(zoomed, frame, setpoint), 0);
    // Point 16 (25.4 %) half-way across the frame, where the whole recording would have point 32.
    const QRect around16(column(16, 32) - 3, row(Ramp(16)) - 3, 7, 7);
    EXPECT_GT(Count(zoomed, around16, measure), 0);
    EXPECT_EQ(Count(shown, around16, measure), 0);
    const QRect around8(column(16, 64) - 3, row(Ramp(16)) - 3, 7, 7);
    EXPECT_EQ(Count(zoomed, around8, measure), 0);
    EXPECT_GT(Count(shown, around8, measure), 0);
    // The cursor's dotted column over the frame's height.
    EXPECT_GT(Count(zoomed, QRect(column(16, 32), kTop, 1, kBottom - kTop), cursor), 150);
    EXPECT_EQ(Count(shown, QRect(column(16, 32), kTop, 1, kBottom - kTop), cursor), 0);
}

namespace {

// A full run of the water level PID, two blocks at a hundred times the clock.
class WindowShown : public ::testing::Test {
protected:
    void RunOnce()
    {
        m_fixture.Prefer("niveaueau", "pid", 100);
        m_fixture.Open();
        ASSERT_EQ(m_fixture.Bench().SetRecording(32, 500), "");
        ASSERT_TRUE(SpinUntil([&] { return m_fixture.Bench().Card().State() == LinkState::Answering; }));
        ASSERT_TRUE(m_fixture.RunToTheEnd());
        ASSERT_EQ(Status().ProgressText().toStdString(), "Bloc 2/2, reste 0 s");
        ASSERT_EQ(Status().NoticeText().toStdString(), "Essai termin\xC3\xA9 : 2 blocs.");
    }
    window::RunStatus& Status() { return *m_fixture.Window().Status(); }
    std::vector<std::string> Checked()
    {
        std::vector<std::string> checked;
        window::CurveList& list = *m_fixture.Window().Curves();
        for (int row = 0; row < list.count(); ++row)
            if (list.item(row)->checkState() == Qt::Checked) checked.push_back(list.item(row)->text().toStdString());
        return checked;
    }
    void ChooseBench(const char* name)
    {
        QComboBox& choice = *m_fixture.Window().BenchChoice();
        const int index = static_cast<int>(FindBench(name) - Benches().data());
        choice.setCurrentIndex(index);
        emit choice.activated(index);
    }

    banc::test::WindowFixture m_fixture;
};

}  // namespace

TEST_F(WindowShown, AnotherBenchShowsItsOwnFirstCurvesAndNoneOfTheLastRunsProgress)
{
    RunOnce();
    // The water level's curves, one more checked.
    m_fixture.Window().Curves()->SetShown('8', true);
    ASSERT_EQ(Checked(), (std::vector<std::string>{"Mesure", "Consigne", "Commande", "Erreur"}));
    ChooseBench("axnum");
    ASSERT_EQ(m_fixture.Bench().LiveSettings().bench->name, std::string("axnum"));
    EXPECT_EQ(Checked(), (std::vector<std::string>{"Mesure", "Consigne", "Commande"}));
    EXPECT_EQ(Status().ProgressText().toStdString(), "");
    EXPECT_EQ(Status().ProgressValue(), -1);
    EXPECT_EQ(Status().NoticeText().toStdString(), "");
}

TEST_F(WindowShown, AnOpenedArchiveShowsItsBenchsFirstCurvesAndNoneOfTheLastRunsProgress)
{
    RunOnce();
    const std::string archive = m_fixture.folder.File("essai.tbc");
    m_fixture.prompts.paths = {archive};
    m_fixture.Window().Do(window::Action::Save);
    ASSERT_TRUE(m_fixture.prompts.warnings.empty());
    // One more curve checked meanwhile.
    m_fixture.Window().Curves()->SetShown('8', true);
    ASSERT_EQ(Checked().size(), 4u);
    m_fixture.prompts.paths = {archive};
    m_fixture.Window().Do(window::Action::Open);
    ASSERT_TRUE(m_fixture.prompts.warnings.empty());
    ASSERT_FALSE(m_fixture.Bench().ShowsLive());
    EXPECT_EQ(Checked(), (std::vector<std::string>{"Mesure", "Consigne", "Commande"}));
    EXPECT_EQ(Status().ProgressText().toStdString(), "");
    EXPECT_EQ(Status().NoticeText().toStdString(), "Essai ouvert : " + archive);
}
