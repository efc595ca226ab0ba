#include <gtest/gtest.h>

#include <QImage>

#include <set>

#include "BancTestSupport.h"
#include "HistorySupport.h"
#include "engine/outputs/Comparison.h"
#include "engine/run/Setup.h"
#include "support/GuiApplication.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/Text.h"

using namespace banc;
using banc::test::RampWithOvershoot;

namespace {

// 1795 counts of 3264: the 55 % the measurement overshoots to.
constexpr double kPeak = 1795 * 100.0 / 3264;

// A kept water level run read back as the comparison reads it.
ComparedRun Compared(long long number, const std::function<float(int)>& measure, int blocks = 2)
{
    banc::test::WaterLevelRun recorded(blocks, measure);
    history::StoredRun stored =
        banc::test::StoredWaterLevelRun(recorded, "2026-12-0" + std::to_string(number) + " 10:00:00", "PI");
    stored.number = number;
    ComparedRun compared;
    EXPECT_EQ(LoadComparedRun(stored, compared), "");
    return compared;
}

// The runs are moved in: their elements are theirs alone.
std::vector<ComparedRun> Pair(ComparedRun first, ComparedRun second)
{
    std::vector<ComparedRun> runs;
    runs.push_back(std::move(first));
    runs.push_back(std::move(second));
    return runs;
}

float Overshooting(int i) { return RampWithOvershoot(i) / 2; }
float Rising(int i) { return std::min(50.0f, 3.125f * static_cast<float>(i)); }

class ComparisonTest : public ::testing::Test {
protected:
    tarvic::test::TraceCapture m_quiet;
};

}  // namespace

TEST_F(ComparisonTest, EachRunHasItsOwnColourAndItsOwnDashOrMarks)
{
    std::set<COLORREF> colours;
    std::set<std::pair<int, bool>> strokes;
    for (int i = 0; i < kComparisonPens; ++i) {
        colours.insert(ComparisonPen(i).colour);
        strokes.insert({ComparisonPen(i).style, ComparisonPen(i).marked});
    }
    EXPECT_EQ(colours.size(), static_cast<std::size_t>(kComparisonPens));
    // On a black and white print the strokes alone tell the runs apart.
    EXPECT_EQ(strokes.size(), static_cast<std::size_t>(kComparisonPens));
    EXPECT_EQ(ComparisonPen(0).style, PS_SOLID);
    EXPECT_EQ(ComparisonPen(1).style, PS_DASH);
    EXPECT_EQ(ComparisonPen(kComparisonPens).colour, ComparisonPen(0).colour);
}

TEST_F(ComparisonTest, ThePlotOverlaysEachMeasurementWithItsSettingsInTheLegend)
{
    const std::vector<ComparedRun> runs = Pair(Compared(3, Overshooting), Compared(5, Rising, 1));
    ASSERT_EQ(ComparisonRefusal(runs), "");
    const PlotContent plot = ComparisonPlot(runs);
    EXPECT_EQ(plot.title, "Comparaison des essais 3, 5");
    EXPECT_TRUE(plot.curves.empty());
    EXPECT_EQ(plot.axes[0].unit, "%");
    EXPECT_EQ(plot.periodMs, 500);
    EXPECT_EQ(plot.plannedPoints, 64);  // the longer recording planned: two blocks
    ASSERT_EQ(plot.overlays.size(), 2u);
    // The generators are alike: the controllers' settings alone.
    EXPECT_EQ(plot.overlays[0].label, "Essai 3 : PID K1= 2.00, Ti= 20.00 s, K2= 1.000");
    EXPECT_EQ(plot.overlays[1].label, "Essai 5 : PID K1= 2.00, Ti= 20.00 s, K2= 1.000");
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(plot.overlays[i].pen, ComparisonPen(static_cast<int>(i)).colour);
        EXPECT_EQ(plot.overlays[i].style, ComparisonPen(static_cast<int>(i)).style);
        EXPECT_TRUE(plot.overlays[i].marks.empty());
    }
    const std::vector<PlotPoint>& first = plot.overlays[0].line;
    ASSERT_EQ(first.size(), 64u);
    EXPECT_FLOAT_EQ(first[20].t, 10.0f);
    EXPECT_NEAR(first[20].value, kPeak, 1e-4);
    EXPECT_NEAR(first[4].value, 408 * 100.0 / 3264, 1e-4);  // 12.5 %: 408 counts
    ASSERT_EQ(plot.overlays[1].line.size(), 32u);
    EXPECT_FLOAT_EQ(plot.overlays[1].line.back().t, 15.5f);
}

TEST_F(ComparisonTest, RunsWhoseGeneratorsDifferShowThemTooAndLaterRunsAreMarked)
{
    std::vector<ComparedRun> runs;
    for (int n = 1; n <= 6; ++n) runs.push_back(Compared(n, Rising, 1));
    float level = 0;
    ASSERT_TRUE(runs[5].loaded.elements.generator->LitFParam(0, level));
    runs[5].loaded.elements.generator->SetFParam(0, 40);
    const PlotContent plot = ComparisonPlot(runs);
    EXPECT_EQ(plot.overlays[0].label,
              "Essai 1 : PID K1= 2.00, Ti= 20.00 s, K2= 1.000 ; Echelon, Valeur Repos = 0 %,"
              "Val. C =50.00 % Retard =0.400 s");
    EXPECT_EQ(plot.overlays[5].label,
              "Essai 6 : PID K1= 2.00, Ti= 20.00 s, K2= 1.000 ; Echelon, Valeur Repos = 0 %,"
              "Val. C =40.00 % Retard =0.400 s");
    // The sixth run's dash is the first's again: crosses along it, a dozen over its 32 points.
    EXPECT_EQ(plot.overlays[5].style, plot.overlays[0].style);
    const std::vector<PlotPoint>& marks = plot.overlays[5].marks;
    ASSERT_EQ(marks.size(), 16u);
    EXPECT_FLOAT_EQ(marks[0].t, 0.5f);
    EXPECT_FLOAT_EQ(marks[1].t, 1.5f);
}

TEST_F(ComparisonTest, RunsMeasuredInDifferentUnitsOrAloneAreNotCompared)
{
    std::vector<ComparedRun> runs;
    runs.push_back(Compared(1, Rising, 1));
    EXPECT_EQ(ComparisonRefusal(runs), "Il faut au moins deux essais pour une comparaison.");
    ComparedRun motor;
    motor.stored.number = 2;
    motor.loaded.settings = banc::test::MakeSettings("iapv", "vitesse");
    ASSERT_EQ(Configure(motor.loaded.settings, std::make_shared<tarvic::MemoryProfile>(), motor.loaded.elements).error,
              "");
    runs.push_back(std::move(motor));
    EXPECT_EQ(ComparisonRefusal(runs),
              "L'essai 1 mesure en %, l'essai 2 en tr/min : ils ne se comparent pas sur un m\xEAme axe.");
}

TEST_F(ComparisonTest, TheFiguresStandSideBySide)
{
    const std::vector<ComparedRun> runs = Pair(Compared(3, Overshooting), Compared(5, Rising));
    const TextTable table = ComparisonFigures(runs);
    EXPECT_EQ(table.header, (std::vector<std::string>{"", "Essai 3", "Essai 5"}));
    // Rises cross 10 % (5) and 90 % (45) of the 50 % step between points 1-2 and 14-15; the
    // ramp alone enters the 47.5-52.5 band between points 15 and 16 (at 15.2).
    const double settled = (22 + (52.5 - kPeak) / (50 - kPeak)) * 0.5;
    const std::vector<std::vector<std::string>> rows = {
        {"Date", "2026-12-03 10:00:00", "2026-12-05 10:00:00"},
        {"Banc", "niveaueau", "niveaueau"},
        {"Mode", "pid", "pid"},
        {"Issue", "complet", "complet"},
        {"Blocs acquis", "2 sur 2", "2 sur 2"},
        {"Consigne", "50.00 %", "50.00 %"},
        {"Valeur finale", "50.00 %", "50.00 %"},
        {"D\xE9passement", tarvic::Format("%.1f %%", (kPeak - 50) / 50 * 100), "0.0 %"},
        {"Temps de mont\xE9" "e (10 \xE0 90 %)", "6.4 s", "6.4 s"},
        {"Temps d'\xE9tablissement \xE0 5 %", tarvic::Format("%.1f s", settled), "7.6 s"},
    };
    EXPECT_EQ(table.rows, rows);
}

TEST_F(ComparisonTest, ThePictureDrawsEachRunInItsColour)
{
    tarvic::test::RequireGuiApplication();
    banc::test::TemporaryFolder folder;
    const std::vector<ComparedRun> runs = Pair(Compared(3, Overshooting), Compared(5, [](int) { return 25.0f; }));
    const std::string path = folder.File("comparaison.png");
    ASSERT_EQ(SaveComparison(path, runs), "");
    QImage image(QString::fromStdString(path));
    ASSERT_EQ(image.width(), kImageFrame.width);
    EXPECT_EQ(image.height(), ComparisonImageFrame(2).height);
    // Up a column in the frame's right half, where the first run stands at 50 % and the second at 25 %.
    const auto columnHas = [&](int x, COLORREF colour) {
        for (int y = kImageFrame.top; y < kImageFrame.bottom; ++y)
            if (image.pixel(x, y) == qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour))) return true;
        return false;
    };
    bool first = false, second = false;
    for (int x = 600; x < 640; ++x) {
        first = first || columnHas(x, ComparisonPen(0).colour);
        second = second || columnHas(x, ComparisonPen(1).colour);
    }
    EXPECT_TRUE(first);
    EXPECT_TRUE(second);
}
