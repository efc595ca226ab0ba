#include <cmath>

#include <gtest/gtest.h>

#include "engine/analysis/ProcessModel.h"

namespace banc::analysis {
namespace {

TEST(ProcessModel, NothingMovesBeforeTheDelay)
{
    for (ModelKind kind : {ModelKind::FirstOrderDelay, ModelKind::Strejc, ModelKind::Integrating}) {
        const ProcessModel model{kind, 2.0, 5.0, 1.5, 2};
        EXPECT_EQ(model.StepResponse(0.0, 10), 0.0);
        EXPECT_EQ(model.StepResponse(1.5, 10), 0.0);
    }
}

TEST(ProcessModel, AFirstOrderReachesSixtyThreePercentOneTimeConstantAfterItsDelay)
{
    const ProcessModel model{ModelKind::FirstOrderDelay, 0.8, 20.0, 1.5};
    EXPECT_NEAR(model.StepResponse(21.5, 10), 8.0 * (1 - std::exp(-1.0)), 1e-12);
    EXPECT_NEAR(model.StepResponse(1000, -10), -8.0, 1e-9);
}

TEST(ProcessModel, AStrejcOfOrderTwoIsTwoLagsInSeries)
{
    // (1 + τs)^-2: 1 - (1 + t/τ) e^(-t/τ)
    const ProcessModel model{ModelKind::Strejc, 1.0, 60.0, 0.0, 2};
    EXPECT_NEAR(model.StepResponse(60, 1), 1 - 2 * std::exp(-1.0), 1e-12);
    EXPECT_NEAR(model.StepResponse(180, 1), 1 - 4 * std::exp(-3.0), 1e-12);
}

TEST(ProcessModel, AnIntegratorRampsFromItsDelay)
{
    const ProcessModel model{ModelKind::Integrating, 3.0, 0.0, 0.5};
    EXPECT_DOUBLE_EQ(model.StepResponse(2.5, 4), 24.0);
}

}  // namespace
}  // namespace banc::analysis
