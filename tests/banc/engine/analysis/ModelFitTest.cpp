#include <cmath>

#include <gtest/gtest.h>

#include "SyntheticResponse.h"
#include "engine/analysis/ModelFit.h"
#include "engine/analysis/StepDetection.h"

namespace banc::analysis {
namespace {

using test::Record;
using test::Synthetic;

StepAnalysed StepOf(const StepRecord& record)
{
    const DetectedStep found = DetectStep(record);
    EXPECT_EQ(found.refusal, "");
    return found.step;
}

// The variance of the measurement, for the share the model explains.
double Variance(const std::vector<double>& y)
{
    double mean = 0, squares = 0;
    for (double v : y) mean += v / static_cast<double>(y.size());
    for (double v : y) squares += (v - mean) * (v - mean) / static_cast<double>(y.size());
    return squares;
}

const ProcessModel kTrue{ModelKind::FirstOrderDelay, 0.8, 20.0, 1.5};
const ProcessModel kFarStart{ModelKind::FirstOrderDelay, 0.6, 35.0, 6.0};

TEST(FirstOrderFit, FindsTheModelOfANoiseFreeResponseFromAFarStart)
{
    const StepRecord record = Record({kTrue});
    const FitResult fit = FitFirstOrder(record, StepOf(record), kFarStart);
    EXPECT_EQ(fit.model.kind, ModelKind::FirstOrderDelay);
    EXPECT_NEAR(fit.model.gain, 0.8, 1e-5);
    EXPECT_NEAR(fit.model.timeConstant, 20, 1e-3);
    EXPECT_NEAR(fit.model.delay, 1.5, 1e-3);
    EXPECT_LT(fit.rms, 1e-3);
    EXPECT_NEAR(fit.explained, 1, 1e-8);
    EXPECT_TRUE(fit.converged);
    EXPECT_GT(fit.iterations, 0);
}

TEST(FirstOrderFit, TheDelayIsNotAWholeNumberOfSamples)
{
    Synthetic between{{ModelKind::FirstOrderDelay, 0.8, 20.0, 1.3}};
    between.period = 0.5;
    const StepRecord record = Record(between);
    EXPECT_NEAR(FitFirstOrder(record, StepOf(record), kTrue).model.delay, 1.3, 1e-3);
}

TEST(FirstOrderFit, ANoDelayProcessKeepsItsDelayAtZero)
{
    const StepRecord record = Record({{ModelKind::FirstOrderDelay, 0.8, 20.0, 0.0}});
    const FitResult fit = FitFirstOrder(record, StepOf(record), kTrue);
    EXPECT_GE(fit.model.delay, 0);
    EXPECT_NEAR(fit.model.delay, 0, 0.01);
    EXPECT_NEAR(fit.model.timeConstant, 20, 0.01);
}

TEST(FirstOrderFit, ANoisyResponseLeavesItsNoiseAsTheResidual)
{
    Synthetic noisy{kTrue};
    noisy.noise = 0.4;  // 1 % of the 40 of change
    noisy.seed = 7;
    const StepRecord record = Record(noisy);
    const FitResult fit = FitFirstOrder(record, StepOf(record), kFarStart);
    EXPECT_NEAR(fit.model.gain, 0.8, 0.03 * 0.8);
    EXPECT_NEAR(fit.model.timeConstant, 20, 0.03 * 20);
    EXPECT_NEAR(fit.model.delay, 1.5, noisy.period);
    // The residual is the noise, to within the scatter of 640 draws' deviation.
    EXPECT_NEAR(fit.rms, 0.4, 0.04);
    EXPECT_NEAR(fit.explained, 1 - fit.rms * fit.rms / Variance(record.measure), 1e-3);
    EXPECT_TRUE(fit.converged);
}

TEST(FirstOrderFit, AReverseActingProcessHasANegativeGain)
{
    const StepRecord record = Record({{ModelKind::FirstOrderDelay, -0.8, 20.0, 1.5}});
    const FitResult fit = FitFirstOrder(record, StepOf(record), {ModelKind::FirstOrderDelay, -0.6, 35.0, 6.0});
    EXPECT_NEAR(fit.model.gain, -0.8, 1e-5);
    EXPECT_NEAR(fit.model.timeConstant, 20, 1e-3);
}

TEST(FirstOrderFit, SaysWhenItCannotFollowTheResponse)
{
    // A square wave is no first order: the fit ends, and its residual says it.
    StepRecord record = Record({kTrue});
    const StepAnalysed step = StepOf(record);
    for (std::size_t i = 40; i < record.measure.size(); ++i) record.measure[i] = (i / 7) % 2 ? 50 : 10;
    const FitResult fit = FitFirstOrder(record, step, kTrue);
    EXPECT_GT(fit.rms, 5);
}

TEST(IntegratorFit, FindsTheSlopeAndDelayOfARamp)
{
    Synthetic position{{ModelKind::Integrating, 0.5, 0, 0.3}};
    position.period = 0.01;
    const StepRecord record = Record(position);
    const FitResult fit = FitIntegrator(record, StepOf(record));
    EXPECT_EQ(fit.model.kind, ModelKind::Integrating);
    EXPECT_NEAR(fit.model.gain, 0.5, 1e-9);
    EXPECT_NEAR(fit.model.delay, 0.3, 1e-6);
    EXPECT_EQ(fit.model.timeConstant, 0);
    EXPECT_TRUE(fit.converged);
}

TEST(IntegratorFit, AMotorsLagBecomesTheDelayOfItsRamp)
{
    // A position driven through a lag T of speed: K Δu (t − T (1 − e^(−t/T))),
    // whose ramp, once the speed has settled, leaves the rest T after the step.
    constexpr double kGain = 2.0, kLag = 0.05, kPeriod = 0.01;
    StepRecord record;
    record.period = kPeriod;
    for (int i = 0; i < 640; ++i) {
        const double t = (i - 40) * kPeriod;
        record.command.push_back(i >= 40 ? 30 : 0);
        record.measure.push_back(t > 0 ? kGain * 30 * (t - kLag * (1 - std::exp(-t / kLag))) : 0);
    }
    const StepAnalysed step = StepOf(record);
    ASSERT_TRUE(step.integrating);
    const FitResult fit = FitIntegrator(record, step);
    EXPECT_NEAR(fit.model.gain, kGain, 0.01 * kGain);
    EXPECT_NEAR(fit.model.delay, kLag, kPeriod);
}

TEST(IntegratorFit, ANoisyRampAndADownwardStep)
{
    Synthetic position{{ModelKind::Integrating, 0.5, 0, 0.3}};
    position.period = 0.01;
    position.commandBefore = 70;
    position.commandAfter = 20;
    position.noise = 0.5;
    const StepRecord record = Record(position);
    const FitResult fit = FitIntegrator(record, StepOf(record));
    EXPECT_NEAR(fit.model.gain, 0.5, 0.01 * 0.5);
    EXPECT_NEAR(fit.model.delay, 0.3, 3 * position.period);
}

}  // namespace
}  // namespace banc::analysis
