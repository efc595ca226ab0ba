#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/run/RestWatch.h"

using namespace banc;

namespace {

// 64 points a + b k + a pattern +e, -e, -e, +e: the pattern is orthogonal to
// a constant and to k, so the trend line is a + b k exactly and the pattern is
// its residual, of deviation e sqrt(64 / 62).
std::vector<float> LineWithPattern(int count, double a, double b, double e)
{
    static constexpr int kPattern[] = {1, -1, -1, 1};
    std::vector<float> values;
    for (int k = 0; k < count; ++k) values.push_back(static_cast<float>(a + b * k + e * kPattern[k % 4]));
    return values;
}

}  // namespace

TEST(RestWatch, AConstantMeasurementIsSteadyOnceItsWindowIsWatched)
{
    const RestJudgement judgement = JudgeRest(std::vector<float>(64, 12.5f), 0.05);
    EXPECT_TRUE(judgement.steady);
    EXPECT_EQ(judgement.points, 64);
    EXPECT_DOUBLE_EQ(judgement.seconds, 3.2);
    EXPECT_DOUBLE_EQ(judgement.mean, 12.5);
    EXPECT_DOUBLE_EQ(judgement.noise, 0);
    EXPECT_DOUBLE_EQ(judgement.drift, 0);
}

TEST(RestWatch, FewerPointsThanTheWindowAreNeverSteady)
{
    const RestJudgement judgement = JudgeRest(std::vector<float>(63, 12.5f), 0.5);
    EXPECT_FALSE(judgement.steady);
    EXPECT_EQ(judgement.points, 63);
    EXPECT_DOUBLE_EQ(judgement.seconds, 31.5);
}

TEST(RestWatch, ADriftWithinTheNoiseIsSteadyAndBeyondItIsNot)
{
    // e = 0.5: a deviation of 0.5 x sqrt(64 / 62) = 0.50800.
    const double noise = 0.5 * std::sqrt(64.0 / 62);
    const RestJudgement within = JudgeRest(LineWithPattern(64, 10, 0.5 / 63, 0.5), 0.1);
    EXPECT_NEAR(within.drift, 0.5, 1e-5);
    EXPECT_NEAR(within.noise, noise, 1e-5);
    EXPECT_NEAR(within.mean, 10 + 0.5 / 63 * 31.5, 1e-5);
    EXPECT_TRUE(within.steady);
    const RestJudgement beyond = JudgeRest(LineWithPattern(64, 10, 0.52 / 63, 0.5), 0.1);
    EXPECT_NEAR(beyond.drift, 0.52, 1e-5);
    EXPECT_FALSE(beyond.steady);
    // Falling counts alike.
    EXPECT_FALSE(JudgeRest(LineWithPattern(64, 10, -0.52 / 63, 0.5), 0.1).steady);
}

TEST(RestWatch, ARestEndsOnceSteadyOrAfterItsLongestWithAWholeWindow)
{
    const RestJudgement drifting = JudgeRest(LineWithPattern(64, 10, 1.0 / 63, 0.1), 0.5);
    ASSERT_FALSE(drifting.steady);
    EXPECT_FALSE(RestOver(drifting, 32.5));
    EXPECT_TRUE(RestOver(drifting, 32));
    EXPECT_TRUE(RestOver(drifting, 0));
    // Fewer points than the window: the noise is not known yet, however long the rest was to be.
    EXPECT_FALSE(RestOver(JudgeRest(std::vector<float>(40, 1.0f), 0.5), 0));
    EXPECT_TRUE(RestOver(JudgeRest(std::vector<float>(64, 1.0f), 0.5), 1000));
}

TEST(RestWatch, OnlyTheLastWindowIsJudged)
{
    // A ramp that stopped: its first 36 points climb, the last 64 hold.
    std::vector<float> values;
    for (int k = 0; k < 36; ++k) values.push_back(static_cast<float>(k));
    values.insert(values.end(), 64, 36.0f);
    const RestJudgement judgement = JudgeRest(values, 1);
    EXPECT_TRUE(judgement.steady);
    EXPECT_DOUBLE_EQ(judgement.seconds, 100);
    EXPECT_DOUBLE_EQ(judgement.mean, 36);
}
