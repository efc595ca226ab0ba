#include <cmath>
#include <optional>

#include <gtest/gtest.h>

#include "engine/analysis/Tuning.h"

namespace banc::analysis {
namespace {

// The same controller within rounding of the formulas' arithmetic.
void ExpectPid(const std::vector<Suggestion>& all, Rule rule, ControllerType type, double kc, double ti, double td)
{
    const Suggestion* found = nullptr;
    for (const Suggestion& s : all)
        if (s.rule == rule && s.pid.type == type) {
            EXPECT_EQ(found, nullptr) << RuleKey(rule) << " " << ControllerTypeName(type) << " twice";
            found = &s;
        }
    ASSERT_NE(found, nullptr) << RuleKey(rule) << " " << ControllerTypeName(type);
    EXPECT_NEAR(found->pid.kc, kc, 1e-5) << RuleKey(rule) << " " << ControllerTypeName(type);
    EXPECT_NEAR(found->pid.ti, ti, 1e-5) << RuleKey(rule) << " " << ControllerTypeName(type);
    EXPECT_NEAR(found->pid.td, td, 1e-5) << RuleKey(rule) << " " << ControllerTypeName(type);
}

bool Has(const std::vector<Suggestion>& all, Rule rule, ControllerType type)
{
    for (const Suggestion& s : all)
        if (s.rule == rule && s.pid.type == type) return true;
    return false;
}

int CountOf(const std::vector<Suggestion>& all, Rule rule)
{
    int count = 0;
    for (const Suggestion& s : all) count += s.rule == rule ? 1 : 0;
    return count;
}

// K = 2, τ = 10 s, θ = 2 s: r = θ/τ = 0.2, a = Kθ/τ = 0.4, τ/θ = 5.
const ProcessModel kFirstOrder{ModelKind::FirstOrderDelay, 2.0, 10.0, 2.0};

TEST(ReactionCurveRules, ZieglerNicholsFromTheInterceptAndTheDelay)
{
    const auto all = SuggestSettings(kFirstOrder);
    ExpectPid(all, Rule::ZieglerNichols, ControllerType::P, 2.5, 0, 0);           // 1 / 0.4
    ExpectPid(all, Rule::ZieglerNichols, ControllerType::PI, 2.25, 6.666667, 0);  // 0.9 / 0.4, 2 / 0.3
    ExpectPid(all, Rule::ZieglerNichols, ControllerType::PID, 3.0, 4.0, 1.0);     // 1.2 / 0.4, 2 x 2, 2 / 2
}

TEST(ReactionCurveRules, CohenCoonWithItsDelayRatioCorrections)
{
    const auto all = SuggestSettings(kFirstOrder);
    // τ / Kθ = 2.5
    ExpectPid(all, Rule::CohenCoon, ControllerType::P, 2.666667, 0, 0);  // 2.5 (1 + 0.2/3)
    // 2.5 (0.9 + 0.2/12); 2 (30 + 0.6) / (9 + 4)
    ExpectPid(all, Rule::CohenCoon, ControllerType::PI, 2.291667, 4.707692, 0);
    // 2.5 (4/3 + 0.05); 2 (32 + 1.2) / (13 + 1.6); 8 / 11.4
    ExpectPid(all, Rule::CohenCoon, ControllerType::PID, 3.458333, 4.547945, 0.701754);
}

TEST(ReactionCurveRules, ChienHronesReswickForBothOvershoots)
{
    const auto all = SuggestSettings(kFirstOrder);
    ExpectPid(all, Rule::Chr0, ControllerType::P, 0.75, 0, 0);          // 0.3 / 0.4
    ExpectPid(all, Rule::Chr0, ControllerType::PI, 0.875, 12, 0);       // 0.35 / 0.4, 1.2 x 10
    ExpectPid(all, Rule::Chr0, ControllerType::PID, 1.5, 10, 1);        // 0.6 / 0.4, 10, 0.5 x 2
    ExpectPid(all, Rule::Chr20, ControllerType::P, 1.75, 0, 0);         // 0.7 / 0.4
    ExpectPid(all, Rule::Chr20, ControllerType::PI, 1.5, 10, 0);        // 0.6 / 0.4, 10
    ExpectPid(all, Rule::Chr20, ControllerType::PID, 2.375, 14, 0.94);  // 0.95 / 0.4, 1.4 x 10, 0.47 x 2
}

TEST(ReactionCurveRules, BroidaGivesTheControllersItsRatioRangeCallsFor)
{
    // τ/θ = 5: a PI, or better a PID; not a P (10 to 20).
    const auto all = SuggestSettings(kFirstOrder);
    EXPECT_FALSE(Has(all, Rule::Broida, ControllerType::P));
    ExpectPid(all, Rule::Broida, ControllerType::PI, 2.0, 10, 0);  // 0.8 x 10 / (2 x 2), τ
    // (10 + 0.8) / (1.2 x 2 x 2); 10 + 0.8; 10 x 2 / (25 + 2)
    ExpectPid(all, Rule::Broida, ControllerType::PID, 2.25, 10.8, 0.740741);

    const auto slow = SuggestSettings({ModelKind::FirstOrderDelay, 2.0, 30.0, 2.0});  // τ/θ = 15
    ExpectPid(slow, Rule::Broida, ControllerType::P, 6.0, 0, 0);                      // 0.8 x 30 / 4
    EXPECT_EQ(CountOf(slow, Rule::Broida), 3);
    const auto hard = SuggestSettings({ModelKind::FirstOrderDelay, 2.0, 6.0, 2.0});  // τ/θ = 3: a PID only
    EXPECT_EQ(CountOf(hard, Rule::Broida), 1);
    EXPECT_TRUE(Has(hard, Rule::Broida, ControllerType::PID));
    EXPECT_EQ(CountOf(SuggestSettings({ModelKind::FirstOrderDelay, 2.0, 3.0, 2.0}), Rule::Broida), 0);
}

TEST(ModelBasedRules, ImcWithItsDefaultLambda)
{
    // λ = max(0.8 x 2, 0.1 x 10) = 1.6
    const auto all = SuggestSettings(kFirstOrder);
    EXPECT_FALSE(Has(all, Rule::Imc, ControllerType::P));
    ExpectPid(all, Rule::Imc, ControllerType::PI, 1.388889, 10, 0);  // 10 / (2 x 3.6), τ
    // (10 + 1) / (2 x (1.6 + 1)); 11; 20 / 22
    ExpectPid(all, Rule::Imc, ControllerType::PID, 2.115385, 11, 0.909091);
}

TEST(ModelBasedRules, ImcWithTheUsersLambda)
{
    const auto all = SuggestSettings(kFirstOrder, {.lambda = 3.0, .tauC = std::nullopt});
    ExpectPid(all, Rule::Imc, ControllerType::PI, 1.0, 10, 0);  // 10 / (2 x 5)
}

TEST(ModelBasedRules, AClosedLoopTimeConstantOfNoTimeLeavesTheRuleOut)
{
    EXPECT_EQ(CountOf(SuggestSettings(kFirstOrder, {.lambda = 0.0, .tauC = std::nullopt}), Rule::Imc), 0);
    EXPECT_EQ(CountOf(SuggestSettings(kFirstOrder, {.lambda = -1.0, .tauC = std::nullopt}), Rule::Imc), 0);
    EXPECT_EQ(CountOf(SuggestSettings(kFirstOrder, {.lambda = std::nullopt, .tauC = -1.0}), Rule::Simc), 0);
    // τc = 0: 10 / (2 x 2), min(10, 8)
    ExpectPid(SuggestSettings(kFirstOrder, {.lambda = std::nullopt, .tauC = 0.0}), Rule::Simc, ControllerType::PI, 2.5,
              8, 0);
}

TEST(ModelBasedRules, SimcIsAPiWithTauCEqualToTheDelay)
{
    const auto all = SuggestSettings(kFirstOrder);
    ExpectPid(all, Rule::Simc, ControllerType::PI, 1.25, 10, 0);  // 10 / (2 x 4), min(10, 16)
    EXPECT_EQ(CountOf(all, Rule::Simc), 1);
    // τc = 0.5: 10 / (2 x 2.5), min(10, 4 x 2.5)
    ExpectPid(SuggestSettings(kFirstOrder, {.lambda = std::nullopt, .tauC = 0.5}), Rule::Simc, ControllerType::PI, 2.0,
              10, 0);
    // A fast loop: the integral time is capped at 4 (τc + θ) = 4 x 2.5.
    ExpectPid(SuggestSettings({ModelKind::FirstOrderDelay, 2.0, 40.0, 2.0}, {.lambda = std::nullopt, .tauC = 0.5}),
              Rule::Simc, ControllerType::PI, 8.0, 10, 0);
}

TEST(ModelKinds, AStrejcModelIsTunedOnItsTangentsFirstOrder)
{
    // n = 2, τ = 5, θ = 1: the inflection at τ, where the response is 1 - 2/e and
    // its slope 1/(e τ): the tangent's time constant e τ, its delay θ + τ (3 - e).
    const ProcessModel strejc{ModelKind::Strejc, 2.0, 5.0, 1.0, 2};
    const double tau = std::exp(1.0) * 5, delay = 1 + 5 * (3 - std::exp(1.0));
    const double a = 2.0 * delay / tau;
    ExpectPid(SuggestSettings(strejc), Rule::ZieglerNichols, ControllerType::PID, 1.2 / a, 2 * delay, delay / 2);
    EXPECT_NEAR(tau, 13.591409, 1e-6);
    EXPECT_NEAR(delay, 2.408591, 1e-6);
}

TEST(ModelKinds, AnIntegratorHasOnlyTheRulesWrittenForIt)
{
    // K = 0.5 per s, θ = 2 s: a = Kθ = 1.
    const ProcessModel integrator{ModelKind::Integrating, 0.5, 0.0, 2.0};
    const auto all = SuggestSettings(integrator);
    ExpectPid(all, Rule::ZieglerNichols, ControllerType::P, 1.0, 0, 0);
    ExpectPid(all, Rule::ZieglerNichols, ControllerType::PI, 0.9, 6.666667, 0);
    ExpectPid(all, Rule::ZieglerNichols, ControllerType::PID, 1.2, 4, 1);
    // λ = 1.6: (3.2 + 2) / (0.5 x 3.6²), 5.2; 5.2 / (0.5 x 2.6²), 5.2, (3.2 + 1) / 5.2
    ExpectPid(all, Rule::Imc, ControllerType::PI, 0.802469, 5.2, 0);
    ExpectPid(all, Rule::Imc, ControllerType::PID, 1.538462, 5.2, 0.807692);
    ExpectPid(all, Rule::Simc, ControllerType::PI, 0.5, 16, 0);  // 1 / (0.5 x 4), 4 x 4
    for (Rule rule : {Rule::CohenCoon, Rule::Chr0, Rule::Chr20, Rule::Broida}) EXPECT_EQ(CountOf(all, rule), 0);
    EXPECT_EQ(all.size(), 6u);
}

TEST(ModelKinds, NoDelayLeavesOutTheRulesThatDivideByIt)
{
    const auto all = SuggestSettings({ModelKind::FirstOrderDelay, 2.0, 10.0, 0.0});
    for (Rule rule : {Rule::ZieglerNichols, Rule::CohenCoon, Rule::Chr0, Rule::Chr20, Rule::Broida, Rule::Simc})
        EXPECT_EQ(CountOf(all, rule), 0) << RuleKey(rule);
    // λ = 0.1 τ = 1: 10 / (2 x 1)
    ExpectPid(all, Rule::Imc, ControllerType::PI, 5.0, 10, 0);
}

TEST(ModelKinds, AReverseActingProcessGetsNoSuggestion)
{
    EXPECT_TRUE(SuggestSettings({ModelKind::FirstOrderDelay, -2.0, 10.0, 2.0}).empty());
    EXPECT_TRUE(SuggestSettings({ModelKind::Integrating, 0.0, 0.0, 2.0}).empty());
}

TEST(UltimateGainRules, ZieglerNicholsAndTyreusLuyben)
{
    const auto all = SuggestFromUltimate(10, 4);
    ExpectPid(all, Rule::RelayZieglerNichols, ControllerType::P, 5, 0, 0);
    ExpectPid(all, Rule::RelayZieglerNichols, ControllerType::PI, 4.5, 3.333333, 0);
    ExpectPid(all, Rule::RelayZieglerNichols, ControllerType::PID, 6, 2, 0.5);
    ExpectPid(all, Rule::TyreusLuyben, ControllerType::PI, 3.125, 8.8, 0);
    ExpectPid(all, Rule::TyreusLuyben, ControllerType::PID, 4.545455, 8.8, 0.634921);
    EXPECT_EQ(all.size(), 5u);
    EXPECT_TRUE(SuggestFromUltimate(0, 4).empty());
    EXPECT_TRUE(SuggestFromUltimate(10, 0).empty());
}

TEST(RuleNames, KeysAndLabelsGoBothWays)
{
    for (Rule rule : {Rule::ZieglerNichols, Rule::CohenCoon, Rule::Chr0, Rule::Chr20, Rule::Broida, Rule::Imc,
                      Rule::Simc, Rule::RelayZieglerNichols, Rule::TyreusLuyben})
        EXPECT_EQ(FindRule(RuleKey(rule)), rule);
    EXPECT_STREQ(RuleKey(Rule::Chr20), "chr20");
    EXPECT_STREQ(RuleKey(Rule::RelayZieglerNichols), "zn_relais");
    EXPECT_STREQ(RuleLabel(Rule::Broida), "Bro\xEF" "da");
    EXPECT_STREQ(RuleLabel(Rule::ZieglerNichols), "Ziegler-Nichols (courbe de r\xE9" "action)");
    EXPECT_EQ(FindRule("ZN"), std::nullopt);
    EXPECT_EQ(FindRule(""), std::nullopt);
    EXPECT_EQ(FindControllerType("PID"), ControllerType::PID);
    EXPECT_EQ(FindControllerType("pi"), std::nullopt);
    EXPECT_STREQ(ControllerTypeName(ControllerType::PI), "PI");
}

}  // namespace
}  // namespace banc::analysis
