#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "BancTestSupport.h"
#include "engine/run/Download.h"
#include "engine/run/FrequencySweep.h"

using namespace banc;

namespace {

// The air flow bench in open loop on its heater: the card samples every 50 ms.
class SweepPlanTest : public ::testing::Test {
protected:
    void SetUp() override { Configure("bo"); }
    void Configure(const char* mode)
    {
        m_elements = {};
        m_settings = banc::test::MakeSettings("debitair", mode);
        m_settings.factory = true;
        m_settings.command = FindCommand(*m_settings.bench, "chauffage");
        m_settings.measure = FindMeasure(*m_settings.bench, "temperature");
        ASSERT_EQ(banc::Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    SweepFrequency Frequency(double hz, std::string& refusal)
    {
        return PlanFrequency(*m_elements.generator, hz, refusal);
    }
    SweepPlan Plan(std::optional<double> low, std::optional<double> high, int points = 12)
    {
        SweepRequest request;
        request.lowHz = low;
        request.highHz = high;
        request.points = points;
        return PlanSweep(request, m_settings, m_elements, std::nullopt);
    }

    Settings m_settings;
    Elements m_elements;
};

}  // namespace

TEST_F(SweepPlanTest, ASlowSineHasTwoHundredPointsAndIsRecordedSomeTwoHundredAndFiftyTimesAPeriod)
{
    // 0.01 Hz: 100 s in 200 points of 500 ms; recorded every 7 samples of 50 ms (100 s / 256 = 391 ms).
    std::string refusal;
    const SweepFrequency f = Frequency(0.01, refusal);
    EXPECT_EQ(refusal, "");
    EXPECT_EQ(f.tablePoints, 200);
    EXPECT_EQ(f.pointPeriodMs, 500);
    EXPECT_DOUBLE_EQ(f.playedHz, 0.01);
    EXPECT_EQ(f.recordPeriodMs, 350);
    EXPECT_EQ(f.pointsPerPeriod, 285);
}

TEST_F(SweepPlanTest, AFastSineHasAPointAtEverySampleOfTheCard)
{
    // 1 Hz: 1000 ms in 20 points of 50 ms, every one recorded.
    std::string refusal;
    const SweepFrequency f = Frequency(1, refusal);
    EXPECT_EQ(f.tablePoints, 20);
    EXPECT_EQ(f.pointPeriodMs, 50);
    EXPECT_DOUBLE_EQ(f.playedHz, 1);
    EXPECT_EQ(f.recordPeriodMs, 50);
    EXPECT_EQ(f.pointsPerPeriod, 20);
}

TEST_F(SweepPlanTest, TheFrequencyPlayedIsTheTablesInWholeMilliseconds)
{
    // 0.3 Hz: 3333.3 ms in 66 point periods of 50.505 ms, whose single-precision
    // quotient truncates to a table of 65 points; the card gets the period as
    // 50 ms: 3250 ms, 0.30769 Hz, played and measured.
    std::string refusal;
    const SweepFrequency f = Frequency(0.3, refusal);
    EXPECT_EQ(f.tablePoints, 65);
    EXPECT_EQ(f.pointPeriodMs, 50);
    EXPECT_DOUBLE_EQ(f.playedHz, 1000.0 / 3250);
    EXPECT_DOUBLE_EQ(f.askedHz, 0.3);
}

TEST_F(SweepPlanTest, AFrequencyTooHighForTheCardsPeriodIsRefused)
{
    // 3 Hz: 333 ms hold 6 samples of 50 ms.
    std::string refusal;
    Frequency(3, refusal);
    EXPECT_EQ(refusal,
              "La carte ne joue pas 3 Hz : \xE0 sa p\xE9riode de 50 ms, la table de sinus n'aurait que 6 points "
              "(10 au moins, soit 2 Hz au plus).");
}

TEST_F(SweepPlanTest, AFrequencyTooLowForTheTablesPointPeriodIsRefused)
{
    // 0.00005 Hz: 20,000 s in 200 points of 100 s, beyond the 65,535 ms of the field.
    std::string refusal;
    Frequency(0.00005, refusal);
    EXPECT_EQ(refusal,
              "La carte ne joue pas 0,00005 Hz : les points de sa table de sinus seraient espac\xE9s de plus "
              "de 65535 ms (0,0000763 Hz au moins).");
}

TEST_F(SweepPlanTest, TheFrequenciesAreSpacedLogarithmicallyAroundTheRestWithTenPercentOfSine)
{
    const SweepPlan plan = Plan(0.001, 0.1, 3);
    EXPECT_EQ(plan.refusal, "");
    EXPECT_EQ(plan.warning, "");
    EXPECT_FALSE(plan.saturates);
    EXPECT_DOUBLE_EQ(plan.rest, 50);
    EXPECT_DOUBLE_EQ(plan.amplitude, 10);
    ASSERT_EQ(plan.frequencies.size(), 3u);
    EXPECT_DOUBLE_EQ(plan.frequencies[0].askedHz, 0.001);
    EXPECT_NEAR(plan.frequencies[1].askedHz, 0.01, 1e-15);
    EXPECT_DOUBLE_EQ(plan.frequencies[2].askedHz, 0.1);
}

TEST_F(SweepPlanTest, WithoutBoundsTheyComeFromTheModel)
{
    // tau = 20 s: from 0.005 to 0.5 rad/s.
    SweepRequest request;
    const SweepPlan plan = PlanSweep(request, m_settings, m_elements,
                                     analysis::ProcessModel{analysis::ModelKind::FirstOrderDelay, 0.6, 20, 1.5});
    EXPECT_EQ(plan.refusal, "");
    ASSERT_EQ(plan.frequencies.size(), 12u);
    EXPECT_NEAR(plan.frequencies.front().askedHz, 0.005 / (2 * std::numbers::pi), 1e-15);
    EXPECT_NEAR(plan.frequencies.back().askedHz, 0.5 / (2 * std::numbers::pi), 1e-15);
    ASSERT_TRUE(plan.model);
    EXPECT_EQ(plan.model->timeConstant, 20);
}

TEST_F(SweepPlanTest, BoundsInTheWrongOrderAreRefused)
{
    EXPECT_EQ(Plan(0.1, 0.01).refusal,
              "Les bornes sont dans le mauvais ordre : --fmin 0,1 Hz doit \xEAtre en dessous de --fmax 0,01 Hz.");
    EXPECT_EQ(Plan(0.1, 0.1).refusal,
              "Les bornes sont dans le mauvais ordre : --fmin 0,1 Hz doit \xEAtre en dessous de --fmax 0,1 Hz.");
    // One frequency alone may be given as both bounds.
    EXPECT_EQ(Plan(0.1, 0.1, 1).refusal, "");
}

TEST_F(SweepPlanTest, HalfTheBoundsOrNoneWithoutAModelAreRefused)
{
    EXPECT_EQ(Plan(0.1, std::nullopt).refusal,
              "Donnez les deux bornes du balayage (--fmin et --fmax), ou aucune pour "
              "les tirer du mod\xE8le gard\xE9.");
    EXPECT_EQ(Plan(std::nullopt, std::nullopt).refusal,
              "Aucun mod\xE8le gard\xE9 d'o\xF9 tirer les bornes du balayage : donnez --fmin et --fmax, ou identifiez "
              "d'abord le proc\xE9" "d\xE9 (--identifier).");
    EXPECT_EQ(Plan(0, 0.1).refusal, "La fr\xE9quence la plus basse (--fmin) doit \xEAtre positive.");
    EXPECT_EQ(Plan(0.01, 0.1, 0).refusal, "Le nombre de fr\xE9quences (--points) va de 1 \xE0 100, pas 0.");
}

TEST_F(SweepPlanTest, ABoundTheCardCannotPlayRefusesTheSweep)
{
    // Twelve frequencies up to 5 Hz: the first the card cannot play is the tenth, 0.1 x 50^(9/11) = 2.46 Hz.
    const SweepPlan plan = Plan(0.1, 5);
    EXPECT_EQ(plan.refusal,
              "La carte ne joue pas 2,46 Hz : \xE0 sa p\xE9riode de 50 ms, la table de sinus n'aurait que "
              "8 points (10 au moins, soit 2 Hz au plus).");
    EXPECT_TRUE(plan.frequencies.empty());
}

TEST_F(SweepPlanTest, ASineThatSaturatesTheCommandIsWarnedOf)
{
    SweepRequest request;
    request.lowHz = 0.01;
    request.highHz = 0.1;
    request.rest = 95;
    const SweepPlan plan = PlanSweep(request, m_settings, m_elements, std::nullopt);
    EXPECT_EQ(plan.refusal, "");
    EXPECT_TRUE(plan.saturates);
    EXPECT_EQ(plan.warning,
              "La commande sature : 10 % autour de 95 % sort de 0 \xE0 100 %. Les points sont "
              "mesur\xE9s, mais marqu\xE9s comme douteux.");
    request.amplitude = 0;
    EXPECT_EQ(PlanSweep(request, m_settings, m_elements, std::nullopt).refusal,
              "L'amplitude du sinus (--amplitude) doit \xEAtre positive et d'au plus 100 %.");
}

TEST_F(SweepPlanTest, AClosedLoopIsRefused)
{
    Configure("pid");
    EXPECT_EQ(Plan(0.01, 0.1).refusal,
              "La r\xE9ponse fr\xE9quentielle se mesure en boucle ouverte (--mode bo), pas en mode pid.");
}
