#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <string>

#include "engine/model/NumberText.h"

using banc::NumberText;
using banc::ParseNumber;
using banc::RangeText;

namespace {

// The value read, or "refus\xE9" when the text is refused.
std::string Read(const char* text)
{
    double value = -7;
    if (!ParseNumber(text, value)) return value == -7 ? "refus\xE9" : "refus\xE9, valeur touch\xE9" "e";
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.17g", value);
    return printed;
}

}  // namespace

TEST(NumberParsing, TakesTheCommaAndThePointAlike)
{
    EXPECT_EQ(Read("2,5"), "2.5");
    EXPECT_EQ(Read("2.5"), "2.5");
    EXPECT_EQ(Read("-0,25"), "-0.25");
    EXPECT_EQ(Read("+3"), "3");
    EXPECT_EQ(Read(" 2,5 "), "2.5");  // spaces a person leaves around it
}

TEST(NumberParsing, TakesAnExponentWithEitherPoint)
{
    EXPECT_EQ(Read("1e5"), "100000");
    EXPECT_EQ(Read("1,5e-3"), "0.0015");
    EXPECT_EQ(Read("2.5E2"), "250");
}

TEST(NumberParsing, RefusesWhatIsNoNumberAndLeavesTheValue)
{
    for (const char* text :
         {"", "   ", "abc", "2,5,1", "2.5.1", "1e", "2,5x", "x2", "+-2", "--2", "inf", "nan", "1e999", "0x10", "2 5"})
        EXPECT_EQ(Read(text), "refus\xE9") << '"' << text << '"';
}

TEST(NumberWriting, PlainDecimalsWithTheCommaAndNoExponent)
{
    EXPECT_EQ(NumberText(0.00005f), "0,00005");  // %g would say 5e-05
    EXPECT_EQ(NumberText(32.0f), "32");
    EXPECT_EQ(NumberText(63.999f), "63,999");  // the float's shortest digits, not 63.999000549316406
    EXPECT_EQ(NumberText(0.001f), "0,001");
    EXPECT_EQ(NumberText(-32.0f), "-32");
    EXPECT_EQ(NumberText(60000.0f), "60000");
    EXPECT_EQ(NumberText(1e5), "100000");
    EXPECT_EQ(NumberText(0.0078125), "0,0078125");
    EXPECT_EQ(NumberText(-0.0), "0");
}

TEST(NumberWriting, AFigureWorkedOutKeepsSixSignificantDigits)
{
    EXPECT_EQ(NumberText(5e-5), "0,00005");
    EXPECT_EQ(NumberText(2.5), "2,5");
    EXPECT_EQ(NumberText(double{63.999f}), "63,999");  // a float limit, not its binary tail
    EXPECT_EQ(NumberText(1e9), "1000000000");
    EXPECT_EQ(NumberText(-1e-12), "-0,000000000001");
    EXPECT_EQ(NumberText(1.0 / 3), "0,333333");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0,3");
    EXPECT_EQ(NumberText(2048.0001), "2048");
}

TEST(NumberWriting, TheLimitsOfAField)
{
    EXPECT_EQ(RangeText(0.00005f, 32.0f), "de 0,00005 \xE0 32");
    EXPECT_EQ(RangeText(-32.0f, 31.999f), "de -32 \xE0 31,999");
    EXPECT_EQ(RangeText(0.32, 20.48), "de 0,32 \xE0 20,48");
    // The widest float is written whole, without an exponent.
    EXPECT_EQ(NumberText(FLT_MAX).size(), 39u);
}
