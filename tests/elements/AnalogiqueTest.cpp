#include <gtest/gtest.h>

#include <climits>

#include "tarvic/elements/Analogique.h"

namespace {

float Sonde(const CAnalogique& analog, int n)
{
    float v = -99.0f;
    EXPECT_TRUE(analog.LitSonde(n, v)) << n;
    return v;
}

}  // namespace

TEST(AnalogiqueReplies, InputsAreScaledToTwentyByTheInputFullScale)
{
    CAnalogique analog;
    EXPECT_TRUE(analog.TraitRecept("!AEBC0FFF08000666", 4095.0f));
    EXPECT_EQ(Sonde(analog, 0), 20.0f);
    EXPECT_FLOAT_EQ(Sonde(analog, 1), 2048.0f / 4095.0f * 20.0f);
    EXPECT_EQ(Sonde(analog, 2), 8.0f);
}

TEST(AnalogiqueReplies, InputFieldsAreSignedSixteenBit)
{
    CAnalogique analog;
    EXPECT_TRUE(analog.TraitRecept("AEBCFFFF80000000", 4095.0f));
    EXPECT_FLOAT_EQ(Sonde(analog, 0), -20.0f / 4095.0f);
    EXPECT_FLOAT_EQ(Sonde(analog, 1), -32768.0f / 4095.0f * 20.0f);
}

TEST(AnalogiqueReplies, OutputsAreBytesScaledToTwenty)
{
    CAnalogique analog;
    EXPECT_TRUE(analog.TraitRecept("!ASBCFF00", 4095.0f));
    EXPECT_EQ(Sonde(analog, 3), 20.0f);
    EXPECT_EQ(Sonde(analog, 4), 0.0f);
    EXPECT_TRUE(analog.TraitRecept("ASBC337F", 4095.0f));
    EXPECT_EQ(Sonde(analog, 3), 4.0f);
    EXPECT_FLOAT_EQ(Sonde(analog, 4), 127.0f / 255.0f * 20.0f);
}

TEST(AnalogiqueReplies, InputReplyIsLookedForBeforeOutputReply)
{
    CAnalogique analog;
    // The first mnemonic in the search order decides, wherever it stands in the line.
    EXPECT_TRUE(analog.TraitRecept("ASBCFFFF AEBC0FFF0FFF0FFF", 4095.0f));
    EXPECT_EQ(Sonde(analog, 0), 20.0f);
    EXPECT_EQ(Sonde(analog, 3), 0.0f);
    EXPECT_EQ(Sonde(analog, 4), 0.0f);
}

TEST(AnalogiqueReplies, ShortReplyKeepsTheMissingFields)
{
    CAnalogique analog;
    ASSERT_TRUE(analog.TraitRecept("AEBC0FFF0FFF0FFF", 4095.0f));
    ASSERT_TRUE(analog.TraitRecept("ASBCFFFF", 4095.0f));
    EXPECT_TRUE(analog.TraitRecept("AEBC0000", 4095.0f));
    EXPECT_EQ(Sonde(analog, 0), 0.0f);
    EXPECT_EQ(Sonde(analog, 1), 20.0f);
    EXPECT_EQ(Sonde(analog, 2), 20.0f);
    EXPECT_TRUE(analog.TraitRecept("ASBC", 4095.0f));
    EXPECT_EQ(Sonde(analog, 3), 20.0f);
    EXPECT_EQ(Sonde(analog, 4), 20.0f);
}

TEST(AnalogiqueReplies, OtherLinesChangeNothing)
{
    CAnalogique analog;
    ASSERT_TRUE(analog.TraitRecept("AEBC0FFF", 4095.0f));
    EXPECT_FALSE(analog.TraitRecept("!AEB0FFF", 4095.0f));
    EXPECT_FALSE(analog.TraitRecept("", 4095.0f));
    EXPECT_EQ(Sonde(analog, 0), 20.0f);
}

TEST(AnalogiqueReplies, OnlyFiveReadingsExist)
{
    CAnalogique analog;
    float v = 7.0f;
    EXPECT_FALSE(analog.LitSonde(5, v));
    EXPECT_FALSE(analog.LitSonde(-1, v));
    EXPECT_EQ(v, 7.0f);
}

TEST(AnalogiqueReplies, PercentOfTheFourToTwentySpan)
{
    CAnalogique analog;
    ASSERT_TRUE(analog.TraitRecept("AEBC0FFF00000999", 4095.0f));
    EXPECT_EQ(analog.Pourcent420(0), 100.0f);
    EXPECT_EQ(analog.Pourcent420(1), -25.0f);
    EXPECT_FLOAT_EQ(analog.Pourcent420(2), 50.0f);
    // An input the card does not have reads nothing rather than memory beside the readings.
    EXPECT_EQ(analog.Pourcent420(3), 0.0f);
    EXPECT_EQ(analog.Pourcent420(-1), 0.0f);
}

TEST(AnalogiqueRequests, InputsThenOutputs)
{
    EXPECT_EQ(CAnalogique::DmdMesure(0), "AEBC");
    EXPECT_EQ(CAnalogique::DmdMesure(1), "ASBC");
    EXPECT_EQ(CAnalogique::DmdMesure(2), "");
    EXPECT_EQ(CAnalogique::DmdMesure(-1), "");
}

TEST(AnalogiqueCommands, ChannelsAreWrittenOneBased)
{
    EXPECT_EQ(CAnalogique::SelecteurVoie(0), "TB1");
    EXPECT_EQ(CAnalogique::SelecteurVoie(9), "TBa");
    EXPECT_EQ(CAnalogique::NumeroVoie(2), "3");
    EXPECT_EQ(CAnalogique::ConfSortie(1, 5), "DFS25");
    EXPECT_EQ(CAnalogique::ConfSortie(0, 11), "DFS1b");
    EXPECT_EQ(CAnalogique::ConfEntree(3), "DFE34");
    EXPECT_EQ(CAnalogique::CommandeIndependante("CIDT", 0x133), "CIDT33");
}

TEST(AnalogiqueCommands, ChannelNumbersFromOutsideWrapInsteadOfOverflowing)
{
    EXPECT_EQ(CAnalogique::NumeroVoie(INT_MAX), "-2147483648");
    EXPECT_EQ(CAnalogique::NumeroVoie(-1), "0");
    EXPECT_EQ(CAnalogique::SelecteurVoie(-2), "TBffffffff");
}
