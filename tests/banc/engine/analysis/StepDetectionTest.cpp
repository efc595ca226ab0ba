#include <gtest/gtest.h>

#include "SyntheticResponse.h"
#include "engine/analysis/StepDetection.h"

namespace banc::analysis {
namespace {

using test::Record;
using test::Synthetic;

const ProcessModel kFirstOrder{ModelKind::FirstOrderDelay, 0.8, 20.0, 1.5};

TEST(StepDetection, FindsTheStepItsLevelsAndTheSettledEnd)
{
    const DetectedStep found = DetectStep(Record({kFirstOrder}));
    EXPECT_EQ(found.refusal, "");
    EXPECT_EQ(found.step.stepIndex, 40);
    EXPECT_DOUBLE_EQ(found.step.stepTime, 20.0);
    EXPECT_EQ(found.step.commandBefore, 20);
    EXPECT_EQ(found.step.commandAfter, 70);
    EXPECT_DOUBLE_EQ(found.step.measureBefore, 10);
    // 10 + 0.8 × 50, reached to within e^-15 at the end of 300 s of response.
    EXPECT_NEAR(found.step.measureFinal, 50, 1e-4);
    EXPECT_EQ(found.step.noise, 0);
    EXPECT_FALSE(found.step.integrating);
}

TEST(StepDetection, AResponseStillCreepingIsReadToTheLevelItApproaches)
{
    // 100 s of a 20 s lag after the step: 0.7 % of the change still to go,
    // where the tail's line would stop; the approach's level is the final one.
    Synthetic shorter{kFirstOrder};
    shorter.points = 240;
    const DetectedStep found = DetectStep(Record(shorter));
    EXPECT_EQ(found.refusal, "");
    EXPECT_NEAR(found.step.measureFinal, 50, 1e-3);
}

TEST(StepDetection, ADownwardStepOfTheCommandIsAStepToo)
{
    Synthetic down{kFirstOrder};
    down.commandBefore = 70;
    down.commandAfter = 20;
    const DetectedStep found = DetectStep(Record(down));
    EXPECT_EQ(found.refusal, "");
    EXPECT_EQ(found.step.commandAfter, 20);
    EXPECT_NEAR(found.step.measureFinal, 10 - 0.8 * 50, 1e-4);
}

TEST(StepDetection, TheNoiseIsTheDeviationAtRest)
{
    Synthetic noisy{kFirstOrder};
    noisy.noise = 0.5;
    noisy.rest = 200;
    // 200 points give the deviation to within some 5 % (one standard error); allow three.
    EXPECT_NEAR(DetectStep(Record(noisy)).step.noise, 0.5, 0.075);
}

TEST(StepDetection, TheNoiseComesFromTheDifferencesWithTooFewPointsAtRest)
{
    Synthetic noisy{kFirstOrder};
    noisy.noise = 0.5;
    noisy.rest = 4;
    const DetectedStep found = DetectStep(Record(noisy));
    EXPECT_EQ(found.refusal, "");
    EXPECT_NEAR(found.step.noise, 0.5, 0.075);
}

TEST(StepDetection, AMeasurementStillRampingAtTheEndIsIntegrating)
{
    Synthetic position{{ModelKind::Integrating, 0.5, 0, 0.3}};
    position.period = 0.01;
    const DetectedStep found = DetectStep(Record(position));
    EXPECT_EQ(found.refusal, "");
    EXPECT_TRUE(found.step.integrating);
}

// The refusals, each with its exact reason.
std::string RefusalOf(const StepRecord& record) { return DetectStep(record).refusal; }

TEST(StepDetectionRefusal, AnEmptyOrMismatchedRecord)
{
    const std::string reason = "L'enregistrement est vide ou incoh\xE9rent : rien \xE0 identifier.";
    EXPECT_EQ(RefusalOf({}), reason);
    StepRecord mismatched = Record({kFirstOrder});
    mismatched.command.pop_back();
    EXPECT_EQ(RefusalOf(mismatched), reason);
}

TEST(StepDetectionRefusal, ACommandWithoutAStep)
{
    Synthetic flat{kFirstOrder};
    flat.commandAfter = flat.commandBefore;
    EXPECT_EQ(RefusalOf(Record(flat)), "La commande ne fait pas d'\xE9" "chelon : rien \xE0 identifier.");
}

TEST(StepDetectionRefusal, ACommandThatMovesAgainAfterItsStep)
{
    StepRecord twice = Record({kFirstOrder});
    for (std::size_t i = 300; i < twice.command.size(); ++i) twice.command[i] = 90;
    EXPECT_EQ(RefusalOf(twice),
              "La commande varie avant ou apr\xE8s son \xE9" "chelon : la r\xE9ponse n'est pas celle "
              "d'un \xE9" "chelon unique.");
}

TEST(StepDetectionRefusal, TooFewPointsBeforeTheStep)
{
    Synthetic early{kFirstOrder};
    early.rest = 2;
    EXPECT_EQ(RefusalOf(Record(early)),
              "Trop peu de points avant l'\xE9" "chelon (3 au moins) : le repos n'est pas connu.");
    early.rest = 3;
    EXPECT_EQ(RefusalOf(Record(early)), "");
}

TEST(StepDetectionRefusal, TooFewPointsAfterTheStep)
{
    Synthetic late{kFirstOrder};
    late.rest = 621;
    EXPECT_EQ(RefusalOf(Record(late)),
              "Trop peu de points apr\xE8s l'\xE9" "chelon (20 au moins) : la r\xE9ponse n'est pas connue.");
}

TEST(StepDetectionRefusal, AMeasurementThatDoesNotMoveBeyondItsNoise)
{
    Synthetic still{{ModelKind::FirstOrderDelay, 0.004, 20.0, 1.5}};  // 0.2 against a noise of 0.5
    still.noise = 0.5;
    EXPECT_EQ(RefusalOf(Record(still)),
              "La mesure ne varie pas au-del\xE0 de son bruit : l'\xE9" "chelon est trop "
              "petit ou le proc\xE9" "d\xE9 ne r\xE9pond pas.");
}

TEST(StepDetectionRefusal, AMeasurementDriftingBeforeTheStep)
{
    // 40 points at rest over 20 s, rising by 0.15 a second: 3 of drift, against 40 of change.
    StepRecord drifting = Record({kFirstOrder});
    for (std::size_t i = 0; i < 40; ++i) drifting.measure[i] += 0.15 * (static_cast<double>(i) - 39) * 0.5;
    EXPECT_EQ(RefusalOf(drifting),
              "La mesure d\xE9rive avant l'\xE9" "chelon : le proc\xE9" "d\xE9 n'\xE9tait pas "
              "au repos (stabilisez plus longtemps, --stabilisation).");
}

TEST(StepDetectionRefusal, AResponseStillBendingOverAtTheEnd)
{
    // 300 s of a 200 s lag: 78 % of the way, neither settled nor a ramp.
    EXPECT_EQ(RefusalOf(Record({{ModelKind::FirstOrderDelay, 0.8, 200.0, 1.5}})),
              "La mesure n'est pas stabilis\xE9" "e \xE0 la fin de l'enregistrement et ne suit pas la rampe d'un "
              "int\xE9grateur : enregistrez plus longtemps (--duree).");
}

}  // namespace
}  // namespace banc::analysis
