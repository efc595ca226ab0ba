#include "net/Pacing.h"

#include <gtest/gtest.h>

namespace net {
namespace {

using namespace std::chrono_literals;
const PacingClock::time_point t0{};

TEST(RatePacing, AtMostTwoASecond)
{
    RatePacing pacing(500ms);
    EXPECT_TRUE(pacing.Admit(t0));
    EXPECT_FALSE(pacing.Admit(t0 + 100ms));
    EXPECT_FALSE(pacing.Admit(t0 + 499ms));
    EXPECT_TRUE(pacing.Admit(t0 + 500ms));
    // The interval counts from the last one let through, not from the last one offered.
    EXPECT_FALSE(pacing.Admit(t0 + 900ms));
    EXPECT_TRUE(pacing.Admit(t0 + 1000ms));
    EXPECT_TRUE(pacing.Admit(t0 + 5000ms));
}

TEST(RatePacing, TenOffersASecondGiveTwo)
{
    RatePacing pacing(500ms);
    int admitted = 0;
    for (int i = 0; i < 10; ++i) admitted += pacing.Admit(t0 + i * 100ms) ? 1 : 0;
    EXPECT_EQ(admitted, 2);
}

TEST(ChangePacing, TheFirstValueGoesAtOnceAndTheSameNeverAgain)
{
    ChangePacing pacing(1s);
    EXPECT_EQ(pacing.Offer("a", t0), ChangePacing::Step::Send);
    EXPECT_EQ(pacing.Offer("a", t0 + 2s), ChangePacing::Step::Same);
    EXPECT_EQ(pacing.Offer("a", t0 + 10s), ChangePacing::Step::Same);
    EXPECT_FALSE(pacing.Due().has_value());
}

TEST(ChangePacing, AChangeWithinTheSecondIsHeldAndTheLatestGoesWhenItIsUp)
{
    ChangePacing pacing(1s);
    ASSERT_EQ(pacing.Offer("a", t0), ChangePacing::Step::Send);
    EXPECT_EQ(pacing.Offer("b", t0 + 200ms), ChangePacing::Step::Hold);
    EXPECT_EQ(pacing.Offer("c", t0 + 400ms), ChangePacing::Step::Hold);
    ASSERT_TRUE(pacing.Due().has_value());
    EXPECT_EQ(*pacing.Due(), t0 + 1s);
    EXPECT_FALSE(pacing.Release(t0 + 999ms));
    EXPECT_TRUE(pacing.Release(t0 + 1s));
    EXPECT_FALSE(pacing.Due().has_value());
    EXPECT_FALSE(pacing.Release(t0 + 3s));
    // "c" went out: offering it again is no change.
    EXPECT_EQ(pacing.Offer("c", t0 + 3s), ChangePacing::Step::Same);
    // The next second counts from the release.
    EXPECT_EQ(pacing.Offer("d", t0 + 3s), ChangePacing::Step::Send);
}

TEST(ChangePacing, ABackAndForthWithinTheSecondSendsNothing)
{
    ChangePacing pacing(1s);
    ASSERT_EQ(pacing.Offer("a", t0), ChangePacing::Step::Send);
    EXPECT_EQ(pacing.Offer("b", t0 + 300ms), ChangePacing::Step::Hold);
    EXPECT_EQ(pacing.Offer("a", t0 + 600ms), ChangePacing::Step::Same);
    EXPECT_FALSE(pacing.Due().has_value());
    EXPECT_FALSE(pacing.Release(t0 + 2s));
}

TEST(ChangePacing, AChangeAfterTheSecondGoesAtOnce)
{
    ChangePacing pacing(1s);
    ASSERT_EQ(pacing.Offer("a", t0), ChangePacing::Step::Send);
    EXPECT_EQ(pacing.Offer("b", t0 + 1s), ChangePacing::Step::Send);
    EXPECT_EQ(pacing.Offer("c", t0 + 1500ms), ChangePacing::Step::Hold);
    EXPECT_EQ(*pacing.Due(), t0 + 2s);
}

}  // namespace
}  // namespace net
