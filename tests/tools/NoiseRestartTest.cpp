#include <string>
#include <vector>

#include "BenchCardFixture.h"

namespace cardsim::test {
namespace {

class CardNoise : public BenchCardTest {
protected:
    // The level inputs over the first samples after "RD", the card left idle `idle` s before it.
    std::vector<std::string> AfterStart(const std::string& bench, char letter, double idle)
    {
        Open(bench, letter, 1, 2);
        Run(idle);
        EXPECT_EQ(Order("RD"), "!OK");
        std::vector<std::string> replies;
        for (int i = 0; i < 10; ++i) {
            Step();
            replies.push_back(Query(letter == 'N' ? "AEBC" : "ASP"));
        }
        return replies;
    }
};

TEST_F(CardNoise, AnalogBenchDrawsFromItsSeedAgainWhenTheLoopStarts)
{
    const std::vector<std::string> atOnce = AfterStart("niveaueau", 'N', 0);
    EXPECT_EQ(AfterStart("niveaueau", 'N', 7.3), atOnce);
    // Noisy readings, not a constant that would match anyway.
    EXPECT_NE(atOnce[0], atOnce[1]);
}

TEST_F(CardNoise, MotorBenchDrawsFromItsSeedAgainWhenTheLoopStarts)
{
    const std::vector<std::string> atOnce = AfterStart("iapv", 'I', 0);
    EXPECT_EQ(AfterStart("iapv", 'I', 2.9), atOnce);
    EXPECT_NE(atOnce[0], atOnce[1]);
}

}  // namespace
}  // namespace cardsim::test
