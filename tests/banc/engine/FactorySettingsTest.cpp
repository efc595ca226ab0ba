#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "BancTestSupport.h"
#include "SimulatedRun.h"
#include "engine/run/Download.h"
#include "support/TraceCapture.h"
#include "tarvic/control/Pid.h"

using namespace banc;
using banc::test::SimulatedRun;

namespace {

// The simulated benches' models, as the card's protocol page gives them.
namespace model {
constexpr double kTorque = 0.0764;                          // Kt = Ke = Kg, N m / A
constexpr double kWindow = 5 * 0.9765e-3;                   // the factory speed window, s
constexpr double kPerMinute = 60 / (2 * std::numbers::pi);  // tr/min per rad/s

// The speed at which a held motor torque (N m) balances friction and a viscous load.
double Balance(double torque, double dryFriction, double viscous) { return (torque - dryFriction) / viscous; }

// Axis: a tenth of the full 1 A against the screw's friction.
double AxisOpenLoop() { return Balance(kTorque * 1.0 * 100 / 1024, 3e-3, 1.5e-4) * kPerMinute; }
// Motor and load: 100 counts of 500 mA; the factory law cancels the 6.5 mN m of
// friction and adds Cax = 380: 380 / 7244.5 x T / 256 x 1000 uN m per tr/min.
double LoadLawViscous() { return 380 / 7244.5 * kWindow * 1000 / 256 * 1000 * 1e-6 * kPerMinute; }
double MotorOpenLoop() { return Balance(kTorque * 0.5 * 100 / 1024, 0, 2e-5 + LoadLawViscous()) * kPerMinute; }
// Electrical load at 100 %: a generator of 4 ohm into 20 ohm.
double GeneratorViscous() { return kTorque * kTorque * 0.05 / (1 + 4 * 0.05); }
// The factory open-loop step 204.8, sent in whole counts: 205.
double ElectricalOpenLoop()
{
    return Balance(kTorque * 1.0 * 205 / 1024, 3e-3, 2e-5 + GeneratorViscous()) * kPerMinute;
}
// The Z corrector's factory u = e on the speed of the electrical load, 100 counts a
// window asked: Kt (100 - n) / 1024 A = Tf + (B + load) w, n = w x 4 x 500 x T / 2 pi.
double ElectricalProportional()
{
    const double radiansPerCount = 2 * std::numbers::pi / (4 * 500 * kWindow);
    const double counts =
        (kTorque * 100 / 1024 - 3e-3) / (kTorque / 1024 + (2e-5 + GeneratorViscous()) * radiansPerCount);
    return counts * radiansPerCount * kPerMinute;
}
// Water level: tank 1 holds h = (a u / b)^2 = u^2 / 50 (%); with u = 50 - h
// (the corrector's factory u = e) h^2 - 150 h + 2500 = 0.
double LevelProportional() { return 75 - std::sqrt(75.0 * 75 - 2500); }
}  // namespace model

// What a bench in a mode, with its factory settings, settles at.
struct Case {
    const char* bench;
    const char* mode;
    double expected;   // NaN: the setpoint's last value
    double tolerance;  // of the final value, the tail's mean
    double ripple;     // the tail's largest swing
};

double Mean(const std::vector<float>& values, std::size_t from)
{
    return std::accumulate(values.begin() + static_cast<long>(from), values.end(), 0.0) /
           static_cast<double>(values.size() - from);
}

constexpr double kSetpoint = std::numeric_limits<double>::quiet_NaN();
// A speed count of each motor bench, tr/min: 60000 / (4 N T).
constexpr double kAxisCount = 60000 / (4 * 500 * 4.8825), kMotorCount = 60000 / (4 * 100 * 4.8825);
// A count either side, as the recording's single precision gives it.
constexpr double kAxisSwing = 2.001 * kAxisCount, kMotorSwing = 2.001 * kMotorCount;

void PrintTo(const Case& c, std::ostream* out) { *out << c.bench << " " << c.mode; }

// The loops with an integral action settle on their setpoint: within a card
// count on the motorised benches (a swing of a count in speed), a few
// thousandths of the span on the percent benches. The on/off cycles between
// its thresholds, 10 % either side.
const Case kCases[] = {
    {"niveaueau", "pid", kSetpoint, 0.1, 0.2},
    {"niveaueau", "bo", 50, 0.5, 0.6},
    {"niveaueau", "tor", kSetpoint, 1, 22},
    {"niveaueau", "corz", model::LevelProportional(), 0.05, 0.05},
    {"debitair", "pid", kSetpoint, 0.01, 0.01},
    {"debitair", "bo", 50, 0.01, 0.01},
    {"debitair", "tor", kSetpoint, 1, 24},
    {"debitair", "corz", 25, 0.01, 0.01},
    {"axnum", "position", kSetpoint, 0.72, 0.72},
    {"axnum", "vitesse", kSetpoint, kAxisCount, kAxisSwing},
    {"axnum", "bo", model::AxisOpenLoop(), kAxisCount, kAxisSwing},
    {"iapv", "vitesse", kSetpoint, kMotorCount, kMotorSwing},
    {"iapv", "position", kSetpoint, 3.6, 3.6},
    {"iapv", "bo", model::MotorOpenLoop(), kMotorCount, kMotorSwing},
    {"synum", "vitesse", kSetpoint, kAxisCount, kAxisSwing},
    {"synum", "position", kSetpoint, 0.72, 0.72},
    {"synum", "pid", kSetpoint, kAxisCount, kAxisSwing},
    {"synum", "corz", model::ElectricalProportional(), kAxisCount, kAxisSwing},
    {"synum", "bo", model::ElectricalOpenLoop(), kAxisCount, kAxisSwing},
};

class FactorySettings : public ::testing::TestWithParam<Case> {
protected:
    tarvic::test::TraceCapture m_quiet;
};

}  // namespace

TEST_P(FactorySettings, ResponseSettlesInsideItsRecording)
{
    const Case& c = GetParam();
    Settings settings = banc::test::MakeSettings(c.bench, c.mode);
    settings.factory = true;
    SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    EXPECT_EQ(run.Refusals(), std::vector<std::string>{});
    run.Run();
    const ExperimentCurves curves = run.Curves();
    const std::vector<float> setpoint = run.Values(curves.setpoint), measure = run.Values(curves.measure);
    ASSERT_EQ(measure.size(), 640u);  // the factory recording: 20 blocks of 32 points
    const double target = std::isnan(c.expected) ? setpoint.back() : c.expected;

    // Settled: the last quarter stays at its final value.
    const std::size_t tail = measure.size() * 3 / 4;
    const auto [low, high] = std::minmax_element(measure.begin() + static_cast<long>(tail), measure.end());
    EXPECT_NEAR(Mean(measure, tail), target, c.tolerance);
    EXPECT_LE(*high - *low, c.ripple);
    // Never away: every step starts from rest upwards, and overshoots less than its final value.
    const auto [lowest, highest] = std::minmax_element(measure.begin(), measure.end());
    EXPECT_LE(*highest, 2 * target);
    EXPECT_GE(*lowest, -c.ripple);
}

INSTANTIATE_TEST_SUITE_P(EveryBenchAndMode, FactorySettings, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.bench) + "_" + info.param.mode;
                         });

TEST(FactorySettingsMatrix, HoldsEveryModeOfEveryBench)
{
    for (const Bench& bench : Benches())
        for (const Mode& mode : bench.modes)
            EXPECT_NE(std::find_if(std::begin(kCases), std::end(kCases),
                                   [&](const Case& c) {
                                       return std::string(c.bench) == bench.name && std::string(c.mode) == mode.name;
                                   }),
                      std::end(kCases))
                << bench.name << " " << mode.name;
}

TEST(FactorySettingsOnOff, TheWaterLevelsOnOffModeStepsToThePidsSetpoint)
{
    tarvic::test::TraceCapture quiet;
    Settings settings = banc::test::MakeSettings("niveaueau", "tor");
    settings.factory = true;
    SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    float step = 0;
    run.GetElements().generator->LitFParam(0, step);
    EXPECT_EQ(step, 50.0f);
    // 50 % of the output's 3264 counts.
    const std::vector<std::string>& lines = run.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "CBF0660"), lines.end());
    // Around it, the on/off's cycle between its thresholds (10 % either side).
    run.Run();
    const std::vector<float> measure = run.Values(run.Curves().measure);
    const auto [low, high] = std::minmax_element(measure.begin() + 320, measure.end());
    EXPECT_LT(*low, 41.0f);
    EXPECT_GT(*high, 59.0f);
}

namespace {

// A setpoint in the bench's unit, and the card line and count it arrives as.
struct SetpointCase {
    const char* bench;
    const char* parameter;
    float asked;
    const char* line;
    int counts;
    double countValue;  // the bench's unit a count
};

void PrintTo(const SetpointCase& c, std::ostream* out) { *out << c.bench << " " << c.parameter << " " << c.asked; }

class SetpointArrival : public ::testing::TestWithParam<SetpointCase> {
protected:
    tarvic::test::TraceCapture m_quiet;
};

}  // namespace

TEST_P(SetpointArrival, TheCardRunsTheNearestWholeCount)
{
    const SetpointCase& c = GetParam();
    Settings settings = banc::test::MakeSettings(c.bench, "vitesse", {{c.parameter, c.asked}});
    settings.factory = true;
    SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    const std::vector<std::string>& lines = run.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << c.line;
    EXPECT_LE(std::abs(c.counts * c.countValue - c.asked), c.countValue / 2);
    // The card's own setpoint, once the step (or the rest before it) is played.
    const bool step = std::string(c.parameter) == "echelon";
    run.Card().Execute("!" + LoopLine(run.GetElements(), settings, true));
    run.Card().Advance(step ? std::chrono::seconds(1) : std::chrono::milliseconds(50));
    CPid& pid = dynamic_cast<CPid&>(*run.GetElements().controller);
    ASSERT_TRUE(pid.TraitRecept(run.Card().Execute("?AVS")));
    EXPECT_EQ(pid.LitSonde(3), static_cast<float>(c.counts));
}

// 1500, 500 and 300 tr/min are 48.8, 16.3 and 48.8 counts a window on the
// motor bench (100 lines) and the axis (500 lines); 1500 on the electrical
// load's 500 lines is 244.1.
INSTANTIATE_TEST_SUITE_P(MotorBenches, SetpointArrival,
                         ::testing::Values(SetpointCase{"iapv", "echelon", 1500, "CBF00000031", 49, kMotorCount},
                                           SetpointCase{"iapv", "repos", 500, "CRBF00000010", 16, kMotorCount},
                                           SetpointCase{"axnum", "echelon", 300, "CBF00000031", 49, kAxisCount},
                                           SetpointCase{"synum", "echelon", 1500, "CBF000000F4", 244, kAxisCount}),
                         [](const ::testing::TestParamInfo<SetpointCase>& info) {
                             return std::string(info.param.bench) + "_" + info.param.parameter;
                         });

TEST(SetpointArrivalLive, AStepChangedDuringARunIsSentInTheNearestWholeCount)
{
    tarvic::test::TraceCapture quiet;
    Settings settings = banc::test::MakeSettings("iapv", "vitesse");
    settings.factory = true;
    SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    run.GetElements().generator->SetFParam(0, 1500);  // as the window sets it
    const std::vector<std::string> lines = GeneratorLines(run.GetElements());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "CBF00000031"), lines.end());
}
