#include <gtest/gtest.h>

#include <cmath>

#include "plants/AirFlowPlant.h"
#include "plants/WaterLevelPlant.h"

using namespace cardsim;

namespace {

// The tank's equation integrated by a plain small-step Euler, independent of the plant's RK4.
struct ReferenceTanks {
    double h1 = 0, h2 = 0;
    void Run(double seconds, double pump)
    {
        const double a = 1.0 / 30, b = std::sqrt(50.0) / 30, dt = 1e-3;
        for (double t = 0; t < seconds - dt / 2; t += dt) {
            const double q1 = b * std::sqrt(std::max(h1, 0.0)), q2 = b * std::sqrt(std::max(h2, 0.0));
            h1 += dt * (a * pump - q1);
            h2 += dt * (q1 - q2);
        }
    }
};

}  // namespace

TEST(WaterLevelPlant, FollowsTheTankEquationsThroughAPumpStep)
{
    WaterLevelPlant plant;
    ReferenceTanks reference;
    for (int second = 1; second <= 300; ++second) {
        for (int i = 0; i < 20; ++i) plant.Step(0.05, {70, 0});
        reference.Run(1, 70);
        ASSERT_NEAR(plant.Level1(), reference.h1, 0.005 * reference.h1 + 1e-3) << second;
        ASSERT_NEAR(plant.Level2(), reference.h2, 0.005 * reference.h2 + 1e-3) << second;
    }
    EXPECT_EQ(plant.Read()[0], 70.0);  // the flow sensor reads a u over its full range a 100
}

TEST(WaterLevelPlant, HalfPumpHoldsHalfLevelsAndTanksStayBetweenEmptyAndFull)
{
    WaterLevelPlant half(50, 50);
    for (int i = 0; i < 1000; ++i) half.Step(0.5, {50, 0});
    EXPECT_NEAR(half.Level1(), 50, 1e-9);
    EXPECT_NEAR(half.Level2(), 50, 1e-9);

    WaterLevelPlant full(99, 0);
    for (int i = 0; i < 2000; ++i) full.Step(0.5, {100, 0});  // the equilibrium of u = 100 is above the rim
    EXPECT_EQ(full.Level1(), 100);
    WaterLevelPlant empty(1, 0);
    for (int i = 0; i < 2000; ++i) empty.Step(0.5, {0, 0});
    EXPECT_GE(empty.Level1(), 0);
    EXPECT_LT(empty.Level1(), 1e-3);
}

TEST(WaterLevelPlant, NearHalfTheTimeConstantIsAMinute)
{
    // A small step around the equilibrium: 63 % of the change after 60 s.
    WaterLevelPlant plant(50, 50);
    for (int i = 0; i < 600; ++i) plant.Step(0.1, {51, 0});
    const double finalChange = std::pow(51.0 / 50, 2) * 50 - 50;  // h = (a u / b)^2
    EXPECT_NEAR((plant.Level1() - 50) / finalChange, 1 - std::exp(-1.0), 0.01);
}

TEST(AirFlowPlant, FlowLagsItsCommandByOneSecond)
{
    AirFlowPlant plant;
    for (int i = 0; i < 100; ++i) plant.Step(0.01, {100, 0});
    EXPECT_NEAR(plant.Flow(), 100 * (1 - std::exp(-1.0)), 1e-9);
    EXPECT_EQ(plant.Read()[0], plant.Flow());
    EXPECT_FALSE(plant.Read()[2].has_value());  // nothing on the third input
}

TEST(AirFlowPlant, HeatReachesTheSensorAfterItsTravelThenLagsTwentySeconds)
{
    AirFlowPlant plant;
    double now = 0;
    const auto runTo = [&](double seconds) {
        for (; now < seconds - 1e-9; now += 0.01) plant.Step(0.01, {0, 100});
    };
    runTo(1.49);
    EXPECT_EQ(plant.Temperature(), 20.0);  // the heated air has not arrived
    runTo(21.5);
    // With no flow the rise aims at the full 40 K: after one time constant past the travel, 63 %.
    EXPECT_NEAR(plant.Temperature(), 20 + 40 * (1 - std::exp(-1.0)), 0.05);
    runTo(400);
    EXPECT_NEAR(plant.Temperature(), 60, 1e-3);
    EXPECT_NEAR(*plant.Read()[1], (60.0 - 20) * 100 / 60, 1e-3);  // sensor range 20 to 80 deg C
}

TEST(AirFlowPlant, MoreAirLowersTheRise)
{
    AirFlowPlant plant;
    for (int i = 0; i < 40000; ++i) plant.Step(0.01, {100, 100});
    EXPECT_NEAR(plant.Temperature(), 20 + 40.0 / 2, 1e-3);  // full flow halves the rise
}
