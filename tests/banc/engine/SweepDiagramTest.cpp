#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/outputs/SweepDiagram.h"

using namespace banc;
using analysis::BodePoint;

namespace {

BodePoint Measured(double hz, double gain, double deg)
{
    BodePoint point;
    point.frequencyHz = hz;
    point.gain = gain;
    point.gainDb = 20 * std::log10(gain);
    point.phaseDeg = deg;
    return point;
}

// Two points of an air flow temperature sweep, a third missing.
SweepResult TwoOfThree()
{
    SweepResult result;
    result.points = {Measured(0.001, 0.9, -10), Measured(0.01, 0.5, -60)};
    result.missingHz = {0.1};
    result.measureUnit = "%";
    return result;
}

}  // namespace

TEST(SweepDiagram, ThePointsTheUnitAndWhatIsMissing)
{
    const BodeContent content = SweepDiagram("D\xE9" "bit d'air : temp\xE9rature", TwoOfThree(), nullptr);
    EXPECT_EQ(content.title, "\\gD\xE9" "bit d'air : temp\xE9rature");
    EXPECT_EQ(content.gainUnit, "%/%");
    ASSERT_EQ(content.measured.size(), 2u);
    EXPECT_EQ(content.measured[1].frequencyHz, 0.01);
    EXPECT_TRUE(content.curves.empty());
    EXPECT_FALSE(content.margins);
    EXPECT_EQ(content.legend, "Gain en % de mesure par % de commande, 0 dB pour 1 %/%.\nNon mesur\xE9" "es : 0,1 Hz.");
}

TEST(SweepDiagram, TheModelsCurveSpansTheMeasuredFrequencies)
{
    SweepResult result = TwoOfThree();
    result.model = analysis::ProcessModel{analysis::ModelKind::FirstOrderDelay, 1.0, 20, 2, 1};
    const BodeContent content = SweepDiagram("Temp\xE9rature", result, nullptr);
    ASSERT_EQ(content.curves.size(), 1u);
    const BodeCurve& model = content.curves[0];
    EXPECT_EQ(model.label, "Mod\xE8le identifi\xE9");
    EXPECT_FALSE(model.dashed);
    ASSERT_EQ(model.points.size(), 120u);
    EXPECT_DOUBLE_EQ(model.points.front().frequencyHz, 0.001);
    EXPECT_DOUBLE_EQ(model.points.back().frequencyHz, 0.01);
    // 1 / (1 + 20 s x 2 pi 0.01 Hz j) e^(-2 s x 2 pi 0.01 Hz j): |G| = 1 / sqrt(1 + 1.2566^2) = 0.6227,
    // phase -atan(1.2566) - 0.12566 rad = -51.49 - 7.20 = -58.69 degrees.
    const double w = 2 * std::numbers::pi * 0.01;
    EXPECT_NEAR(model.points.back().gain, 1 / std::sqrt(1 + 400 * w * w), 1e-9);
    EXPECT_NEAR(model.points.back().gain, 0.6227, 1e-4);
    EXPECT_NEAR(model.points.back().phaseDeg, -58.69, 0.01);
}

TEST(SweepDiagram, TheOpenLoopDashedWithItsMarginsInFigures)
{
    SweepLoop loop;
    loop.openLoop = {Measured(0.001, 4, -100), Measured(0.01, 0.5, -200)};
    loop.margins.phaseDeg = 42.3;
    loop.margins.gainCrossoverHz = 0.00512;
    const BodeContent content = SweepDiagram("Temp\xE9rature", TwoOfThree(), &loop);
    ASSERT_EQ(content.curves.size(), 1u);
    EXPECT_TRUE(content.curves[0].dashed);
    EXPECT_EQ(content.curves[0].points.size(), 2u);
    ASSERT_TRUE(content.margins);
    EXPECT_EQ(content.margins->phaseDeg, 42.3);
    EXPECT_EQ(content.legend,
              "Gain en % de mesure par % de commande, 0 dB pour 1 %/%.\n"
              "Marge de gain : non lue, la phase ne passe pas -180\xB0 entre les points mesur\xE9s\n"
              "Marge de phase : 42,3\xB0 \xE0 0,00512 Hz\n"
              "Non mesur\xE9" "es : 0,1 Hz.");
    // A controller refused draws no loop.
    loop.refusal = "Pas de PID.";
    EXPECT_TRUE(SweepDiagram("T", TwoOfThree(), &loop).curves.empty());
}
