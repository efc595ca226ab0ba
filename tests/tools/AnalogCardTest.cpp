#include <gtest/gtest.h>

#include <random>

#include "BenchCardFixture.h"
#include "tarvic/elements/DebitAir.h"
#include "tarvic/elements/NiveauEau1.h"

using namespace cardsim;
using cardsim::test::BenchCardTest;
using cardsim::test::Fields;
using cardsim::test::InputPercent;

using AnalogCard = BenchCardTest;

TEST_F(AnalogCard, ReadingsOfAnIdleWaterLevelBench)
{
    Open("niveaueau", 'N', 1);
    EXPECT_EQ(Query("AEBC"), "!AEBC033303330333");  // flow, level 1, level 2: all at 4 mA
    EXPECT_EQ(Query("ASBC"), "!ASBC0000");
    EXPECT_EQ(Query("AEBC1"), "!AEBC1 4.0");
    EXPECT_EQ(Query("AMD"), "!Erreur");  // no flowmeter on this bench
    EXPECT_EQ(Order("CIDT80"), "!Erreur");
    CNiveauEau niveau;
    niveau.SetFParam(1, 50);
    Download(niveau);  // DFS14, CIDD7F, DFE14, DFE24, DFE34
    EXPECT_EQ(Query("ASBC"), "!ASBC7F00");
    ASSERT_TRUE(niveau.TraitRecept(Query("ASBC")));
    EXPECT_FLOAT_EQ(niveau.LitSonde(3), 127 / 255.0f * 20);
}

TEST_F(AnalogCard, ReadingsOfAnIdleAirFlowBench)
{
    Open("debitair", 'D', 1);
    EXPECT_EQ(Query("AEBC"), "!AEBC033303330000");  // nothing on the third input
    EXPECT_EQ(Query("ASBC"), "!ASBC3333");          // both outputs at 4 mA
    EXPECT_EQ(Query("AMD"), "!AMD 0000");
    EXPECT_EQ(Order("CIDDFF"), "!OK");
    EXPECT_EQ(Order("CIDT99"), "!OK");
    EXPECT_EQ(Query("ASBC"), "!ASBCFF99");
    Run(10);
    CDebitAir air;
    ASSERT_TRUE(air.TraitRecept(Query("AMD")));
    EXPECT_NEAR(air.LitSonde(5), 100, 0.05);  // the fan's full flow, 10 time constants on
    ASSERT_TRUE(air.TraitRecept(Query("AEBC")));
    EXPECT_NEAR((air.LitSonde(0) - 4) * 100 / 16, 100, 0.05);
}

TEST_F(AnalogCard, IndependentPumpCommandFillsTheTankAsItsEquationSays)
{
    Open("niveaueau", 'N', 1);
    CNiveauEau niveau;
    niveau.SetFParam(1, 70);
    Download(niveau);
    // The equation, integrated by the test at the command the card received (CIDDB2).
    const double pump = 0xB2 * 100.0 / 255, a = 1.0 / 30, b = std::sqrt(50.0) / 30;
    double h1 = 0, h2 = 0;
    for (int second = 1; second <= 240; ++second) {
        for (int i = 0; i < 10000; ++i) {
            const double q1 = b * std::sqrt(h1), q2 = b * std::sqrt(h2);
            h1 += 1e-4 * (a * pump - q1);
            h2 += 1e-4 * (q1 - q2);
        }
        Run(1);
        ASSERT_TRUE(niveau.TraitRecept(Query("AEBC")));
        if (second % 20) continue;
        EXPECT_NEAR(niveau.LitSonde(6), h1, 0.005 * h1 + 0.05) << second;  // level 1
        EXPECT_NEAR(niveau.LitSonde(7), h2, 0.005 * h2 + 0.05) << second;  // level 2
        EXPECT_NEAR(niveau.LitSonde(5), pump, 0.05) << second;             // the pump's flow
    }
}

TEST_F(AnalogCard, MeasurementNoiseIsReproducibleBySeed)
{
    const auto readings = [this](double noise) {
        Open("niveaueau", 'N', 1, noise);
        Order("CIDD7F");
        std::vector<std::string> replies;
        for (int i = 0; i < 20; ++i) {
            Run(1);
            replies.push_back(Query("AEBC"));
        }
        return replies;
    };
    const auto quiet = readings(0), first = readings(2), second = readings(2);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, quiet);
    double spread = 0;
    for (std::size_t i = 0; i < quiet.size(); ++i)
        spread += std::abs(InputPercent(Fields(first[i], 5, {4})[0]) - InputPercent(Fields(quiet[i], 5, {4})[0]));
    EXPECT_GT(spread / quiet.size(), 0.5);  // about 0.8 times the 2 % deviation
    EXPECT_LT(spread / quiet.size(), 3.0);
}

TEST_F(AnalogCard, LinesItCannotExecuteAreRefused)
{
    Open("niveaueau", 'N', 1);
    for (const char* line : {"",         "!",        "RD",           "#RD",       "?XYZ",
                             "!CIDD7",   "!CIDD7FF", "!CIDDG0",      "!DFS34",    "!DFS1",
                             "!DFE44",   "!DFE1G",   "!RER0000",     "!RER12",    "!RET0000",
                             "!RES0000", "!RKP0400", "!RKP04000100", "!RKI12345", "!RTRE401",
                             "!RTRE1",   "!RTRE1ZZ", "!RZ0400",      "!DCPDFPI",  "!DCPNFZI",
                             "!DCPNFP9", "!DCPNQPI", "!DCPNFP",      "!RRZI2",    "!TB4",
                             "!TB0",     "!EM",      "!EMOO",        "!EVE0000",  "!EVE12",
                             "?TSF00",   "?TSF0",    "?TEM",         "?AVS1",     "?APIDX",
                             "!RDX",     "!CBF123",  "!CBF1234567",  "!DTTT0200", "!DTTT12345",
                             "!CRT00",   "!DSTX",    "!REDFFFFF"})
        EXPECT_EQ(Card().Execute(line), "!Erreur") << line;
    // A point block for a block past the table, and the table's own blocks.
    EXPECT_EQ(Order("DTTT003F"), "!OK");  // 64 points: two blocks and the PC's block of padding
    const std::string zeros(128, '0');
    EXPECT_EQ(Order("CRT00" + zeros), "!OK");
    EXPECT_EQ(Order("CRT01" + zeros), "!OK");
    EXPECT_EQ(Order("CRT02" + zeros), "!OK");
    EXPECT_EQ(Order("CRT03" + zeros), "!Erreur");
    EXPECT_EQ(Order("CRT01" + zeros + "0"), "!Erreur");
    EXPECT_EQ(Order("CRTFF" + zeros), "!Erreur");
    EXPECT_EQ(Order("DTTTFFFFFFFF"), "!OK");  // the PC's empty table
    EXPECT_EQ(Order("CRT01" + zeros), "!Erreur");
}

TEST_F(AnalogCard, GarbageNeverStopsTheCard)
{
    Open("debitair", 'D', 1);
    std::mt19937 random(42);
    const std::string alphabet = "!?0123456789ABCDEFRTSEMVCIDPKZOXabc \xFF\x01";
    for (int i = 0; i < 20000; ++i) {
        std::string line(1, i % 2 ? '!' : '?');
        const auto length = random() % 40;
        for (unsigned j = 0; j < length; ++j) line += alphabet[random() % alphabet.size()];
        const std::string reply = Card().Execute(line);
        ASSERT_FALSE(reply.empty()) << line;
        ASSERT_EQ(reply.front(), '!') << line;
        ASSERT_EQ(reply.find_first_of("\r\n"), std::string::npos) << line;
        if (i % 100 == 0) Run(0.5);
    }
    EXPECT_EQ(Query("ASBC").substr(0, 5), "!ASBC");  // still answering
}
