#include <gtest/gtest.h>

#include <clocale>

#include "tarvic/platform/Text.h"

using namespace tarvic;

TEST(Format, UsesTheDecimalPointWhateverTheLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    // A French locale writes "1,500000" with plain printf; the host's formatting does not.
    ASSERT_NE(std::setlocale(LC_ALL, "fr_FR.UTF-8"), nullptr) << "locales-all is needed";
    EXPECT_EQ(Format("%f|%.2f|%4.4X|%c", 1.5, 2.0, 0x1ABu, 'X'), "1.500000|2.00|01AB|X");
    float value = 0;
    EXPECT_TRUE(ScanFloat("3.25", value));
    EXPECT_FLOAT_EQ(value, 3.25f);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(Format, BuildsLongTexts)
{
    const std::string long_text(5000, 'a');
    EXPECT_EQ(Format("!%s\r\n", long_text.c_str()), "!" + long_text + "\r\n");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(Mid, ClampsInsteadOfThrowing)
{
    EXPECT_EQ(Mid("ABCDEF", 2, 3), "CDE");
    EXPECT_EQ(Mid("ABCDEF", 4, 10), "EF");
    EXPECT_EQ(Mid("ABCDEF", 6, 2), "");
    EXPECT_EQ(Mid("ABCDEF", 60, 2), "");
    EXPECT_EQ(Mid("ABCDEF", -3, 2), "AB");
    EXPECT_EQ(Mid("ABCDEF", 1, 0), "");
    EXPECT_EQ(Mid("ABCDEF", 1, -4), "");
    EXPECT_EQ(Mid("ABCDEF", 3), "DEF");
}

TEST(Find, ReturnsMinusOneWhenAbsentOrOutOfRange)
{
    EXPECT_EQ(Find("!LEL1234", "LEL"), 1);
    EXPECT_EQ(Find("!LEL1234", "LEL", 2), -1);
    EXPECT_EQ(Find("!LEL1234", "VER"), -1);
    EXPECT_EQ(Find("abc", "a", 10), -1);
}

TEST(ScanHex, BehavesLikeTheRuntimeScan)
{
    std::uint32_t value = 77;
    EXPECT_TRUE(ScanHex("FFFF", value));
    EXPECT_EQ(value, 0xFFFFu);
    EXPECT_TRUE(ScanHex(" 1a2Z", value));
    EXPECT_EQ(value, 0x1A2u);
    EXPECT_TRUE(ScanHex("0x10", value));
    EXPECT_EQ(value, 0x10u);
    EXPECT_TRUE(ScanHex("-1", value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    value = 77;
    EXPECT_FALSE(ScanHex("", value));
    EXPECT_FALSE(ScanHex("ZZ", value));
    EXPECT_FALSE(ScanHex(" -", value));
    EXPECT_EQ(value, 77u);
}

TEST(ScanHexField, NeverReadsPastTheText)
{
    std::uint32_t value = 5;
    EXPECT_TRUE(ScanHexField("AVS00FF", 3, 4, value));
    EXPECT_EQ(value, 0xFFu);
    EXPECT_TRUE(ScanHexField("AVS00F", 3, 4, value));  // short field: what is there
    EXPECT_EQ(value, 0xFu);
    value = 5;
    EXPECT_FALSE(ScanHexField("AVS", 3, 4, value));
    EXPECT_FALSE(ScanHexField("AVS", 300, 4, value));
    EXPECT_EQ(value, 5u);
}

TEST(ReadHexField, TakesExactlyTheWidth)
{
    std::uint32_t value = 9;
    EXPECT_TRUE(ReadHexField("LEL0A0B", 3, 2, value));
    EXPECT_EQ(value, 0x0Au);
    EXPECT_TRUE(ReadHexField("LEL0A0B", 5, 2, value));
    EXPECT_EQ(value, 0x0Bu);
    value = 9;
    EXPECT_FALSE(ReadHexField("LEL0A0B", 6, 2, value));  // one digit left
    EXPECT_FALSE(ReadHexField("LEL0G", 3, 2, value));
    EXPECT_FALSE(ReadHexField("LEL 1", 3, 2, value));
    EXPECT_FALSE(ReadHexField("LEL01", -1, 2, value));
    EXPECT_EQ(value, 9u);
}

TEST(Latin1ToUtf8, WritesEachHighByteAsItsTwoByteSequence)
{
    EXPECT_EQ(Latin1ToUtf8("D\xE9" "bit \xE0 100 %"), "D\xC3\xA9" "bit \xC3\xA0 100 %");
    // The ends of the high half: U+0080 and U+00FF; a NUL stays one byte.
    EXPECT_EQ(Latin1ToUtf8(std::string_view("\x80\0\xFF", 3)), std::string("\xC2\x80\0\xC3\xBF", 5));
    EXPECT_EQ(Latin1ToUtf8(""), "");
}

TEST(ScanNumbers, LeaveTheValueWhenNothingScans)
{
    float f = 4.0f;
    EXPECT_FALSE(ScanFloat("abc", f));
    EXPECT_FALSE(ScanFloat("", f));
    EXPECT_EQ(f, 4.0f);
    EXPECT_TRUE(ScanFloat(" -10xyz", f));
    EXPECT_EQ(f, -10.0f);
    int i = 3;
    EXPECT_FALSE(ScanInt("x1", i));
    EXPECT_EQ(i, 3);
    EXPECT_TRUE(ScanInt("-42abc", i));
    EXPECT_EQ(i, -42);
}
