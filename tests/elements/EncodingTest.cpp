#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tarvic/elements/Encoding.h"

using namespace tarvic;

TEST(Encoding, FloatsTruncateTowardZeroAndFillTheirWidth)
{
    EXPECT_EQ(Hex8(TruncateToInt(-1.5)), "FFFFFFFF");
    EXPECT_EQ(Hex8(TruncateToInt(1.9)), "00000001");
    EXPECT_EQ(Hex4(TruncateToInt(-1.9)), "FFFF");
    EXPECT_EQ(Hex4(0x12345), "2345");
    EXPECT_EQ(Hex2(0x1FF), "FF");
    EXPECT_EQ(Hex2(-1), "FF");
    EXPECT_EQ(Hex2(10), "0A");
}

TEST(Encoding, OutOfRangeFloatsGiveTheOneDefinedValue)
{
    EXPECT_EQ(TruncateToInt(std::nan("")), INT32_MIN);
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::infinity()), INT32_MIN);
    EXPECT_EQ(TruncateToInt(-std::numeric_limits<double>::infinity()), INT32_MIN);
    EXPECT_EQ(TruncateToInt(2147483648.0), INT32_MIN);
    EXPECT_EQ(TruncateToInt(-2147483649.0), INT32_MIN);
    EXPECT_EQ(TruncateToInt(2147483647.9), INT32_MAX);
    EXPECT_EQ(TruncateToInt(-2147483648.9), INT32_MIN);
    EXPECT_EQ(Hex8(TruncateToInt(1e20)), "80000000");
}

TEST(Encoding, SignRulesOfReplyFields)
{
    EXPECT_EQ(Signed16(0xFFFF), -1);
    EXPECT_EQ(Signed16(0x17FFF), 32767);
    EXPECT_EQ(Signed12(0x0800), -2048);
    EXPECT_EQ(Signed12(0x07FF), 2047);
    EXPECT_EQ(Signed12(0x0FFF), -1);
}

TEST(Encoding, PercentagesBecomeOutputBytes)
{
    EXPECT_EQ(PercentToByte420(0.0f), 51);
    EXPECT_EQ(PercentToByte420(100.0f), 255);
    EXPECT_EQ(PercentToByte420(50.0f), 153);
    EXPECT_EQ(PercentToByte(100.0f), 255);
    EXPECT_EQ(PercentToByte(60.0f), 153);
    EXPECT_EQ(PercentToByte(0.5f), 1);
}

TEST(Encoding, ReplyFieldsNeverReadPastTheReply)
{
    std::int32_t value = 77;
    EXPECT_TRUE(ReadField16("AVPS FFFF", 5, value));
    EXPECT_EQ(value, -1);
    EXPECT_TRUE(ReadField12("AEBC0800", 4, value));
    EXPECT_EQ(value, -2048);
    EXPECT_TRUE(ReadField32("AVPIFFFFFFFE", 4, value));
    EXPECT_EQ(value, -2);
    EXPECT_TRUE(ReadField8("XEFC7F", 4, value));
    EXPECT_EQ(value, 0x7F);
    value = 77;
    EXPECT_FALSE(ReadField16("AVPS", 4, value));
    EXPECT_FALSE(ReadField32("AVPI", 400, value));
    EXPECT_EQ(value, 77);
}
