#include <cmath>

#include <gtest/gtest.h>

#include "SyntheticResponse.h"
#include "engine/analysis/Identification.h"

namespace banc::analysis {
namespace {

using test::Record;
using test::Synthetic;

const MethodResult* Method(const Identification& identification, const std::string& key)
{
    for (const MethodResult& method : identification.methods)
        if (method.key == key) return &method;
    return nullptr;
}

TEST(Identify, AFirstOrderGivesItsFitAndTheThreeMethods)
{
    const Identification identification = Identify(Record({{ModelKind::FirstOrderDelay, 0.8, 20.0, 1.5}}));
    ASSERT_TRUE(identification.Identified());
    EXPECT_EQ(identification.refusal, "");
    EXPECT_EQ(identification.step.stepIndex, 40);
    EXPECT_EQ(identification.fit->model.kind, ModelKind::FirstOrderDelay);
    EXPECT_NEAR(identification.fit->model.gain, 0.8, 1e-5);
    EXPECT_NEAR(identification.fit->model.timeConstant, 20, 1e-3);
    EXPECT_NEAR(identification.fit->model.delay, 1.5, 1e-3);
    ASSERT_EQ(identification.methods.size(), 3u);
    EXPECT_EQ(identification.methods[0].key, "broida");
    EXPECT_EQ(identification.methods[1].key, "deux_points");
    EXPECT_EQ(identification.methods[2].key, "strejc");
}

TEST(Identify, ADownwardStepOfAReverseActingProcess)
{
    // Cooling: the command falls, the measurement rises.
    Synthetic cooling{{ModelKind::FirstOrderDelay, -0.8, 20.0, 1.5}};
    cooling.commandBefore = 70;
    cooling.commandAfter = 20;
    const Identification identification = Identify(Record(cooling));
    ASSERT_TRUE(identification.Identified());
    EXPECT_NEAR(identification.step.measureFinal, 10 + 40, 1e-3);
    EXPECT_NEAR(identification.fit->model.gain, -0.8, 1e-5);
    EXPECT_NEAR(identification.fit->model.timeConstant, 20, 1e-3);
    EXPECT_NEAR(identification.fit->model.delay, 1.5, 1e-3);
    const MethodResult* twoPoints = Method(identification, "deux_points");
    ASSERT_TRUE(twoPoints);
    EXPECT_NEAR(twoPoints->model.gain, -0.8, 5e-4);
    EXPECT_NEAR(twoPoints->model.timeConstant, 20, 0.5);
}

TEST(Identify, ARampGivesTheIntegratorAndNoGraphicMethod)
{
    Synthetic position{{ModelKind::Integrating, 0.5, 0, 0.3}};
    position.period = 0.01;
    position.noise = 0.2;
    const Identification identification = Identify(Record(position));
    ASSERT_TRUE(identification.Identified());
    EXPECT_TRUE(identification.step.integrating);
    EXPECT_EQ(identification.fit->model.kind, ModelKind::Integrating);
    EXPECT_NEAR(identification.fit->model.gain, 0.5, 0.005);
    EXPECT_NEAR(identification.fit->model.delay, 0.3, 0.02);
    EXPECT_TRUE(identification.methods.empty());
}

TEST(Identify, AnOscillatingResponseIsNoModelOfOurs)
{
    // An underdamped second order (ζ = 0.1, ωn = 0.5 rad/s) rings for 60 s
    // and settles by the end: no first order follows it.
    Synthetic ringing{};
    StepRecord record = Record(ringing);
    constexpr double kZeta = 0.1, kOmega = 0.5;
    const double damped = kOmega * std::sqrt(1 - kZeta * kZeta);
    for (std::size_t i = 40; i < record.measure.size(); ++i) {
        const double t = (static_cast<double>(i) - 40) * ringing.period;
        record.measure[i] = 10 + 40 * (1 - std::exp(-kZeta * kOmega * t) *
                                               (std::cos(damped * t) + kZeta * kOmega / damped * std::sin(damped * t)));
    }
    const Identification identification = Identify(record);
    EXPECT_EQ(identification.refusal,
              "Aucun mod\xE8le ne suit la mesure : la r\xE9ponse n'est ni celle d'un premier "
              "ordre retard\xE9 ni celle d'un int\xE9grateur.");
    EXPECT_FALSE(identification.Identified());
    EXPECT_FALSE(identification.fit);
    EXPECT_TRUE(identification.methods.empty());
}

TEST(Identify, ARefusedRecordGivesNoNumber)
{
    Synthetic flat{{ModelKind::FirstOrderDelay, 0.8, 20.0, 1.5}};
    flat.commandAfter = flat.commandBefore;
    const Identification identification = Identify(Record(flat));
    EXPECT_EQ(identification.refusal, "La commande ne fait pas d'\xE9" "chelon : rien \xE0 identifier.");
    EXPECT_FALSE(identification.Identified());
    EXPECT_FALSE(identification.fit);
    EXPECT_TRUE(identification.methods.empty());
}

const char* const kHeldAtLimit =
    "La mesure reste bloqu\xE9" "e \xE0 une limite (fin de course, capteur ou "
    "convertisseur satur\xE9) : la r\xE9ponse n'est pas mesur\xE9" "e en entier.";

TEST(Identify, ASensorClippedAtTheTopOfItsRangeIsRefused)
{
    // The measurement would rise by 40 but the sensor stops at 30: the flat
    // top is no first order's.
    Synthetic noisy{{ModelKind::FirstOrderDelay, 0.8, 20.0, 1.5}};
    noisy.noise = 0.2;
    StepRecord record = Record(noisy);
    for (double& value : record.measure) value = std::min(value, 30.0);
    const Identification identification = Identify(record);
    EXPECT_EQ(identification.refusal, kHeldAtLimit);
    EXPECT_FALSE(identification.Identified());
}

TEST(Identify, AnAxisStoppedAtItsEndSwitchIsRefused)
{
    // The carriage runs at 0.5 per s per command unit, then stops dead at 60.
    Synthetic position{{ModelKind::Integrating, 0.5, 0, 0.3}};
    position.period = 0.01;
    StepRecord record = Record(position);
    for (double& value : record.measure) value = std::min(value, 60.0);
    EXPECT_EQ(Identify(record).refusal, kHeldAtLimit);
}

TEST(Identify, AMeasurementInWholeCountsSettlesOnItsLastCount)
{
    // Read in counts of 0.05 and without noise, a first order holds its last
    // count for the second half of its response, having crept up to it.
    StepRecord record = Record({{ModelKind::FirstOrderDelay, 0.8, 20.0, 1.5}});
    for (double& value : record.measure) value = std::round(value / 0.05) * 0.05;
    const Identification identification = Identify(record);
    ASSERT_TRUE(identification.Identified());
    EXPECT_NEAR(identification.fit->model.timeConstant, 20, 0.02);
}

}  // namespace
}  // namespace banc::analysis
