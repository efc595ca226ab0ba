#include <cmath>
#include <limits>

#include "FloatEditFixture.h"

// What the control shows for a value, under each setting and locale.
namespace tarvic::test {
namespace {

TEST_F(FloatEditTest, StartsWithTwoDecimalsAndCommas)
{
    EXPECT_EQ(m_edit->GetDecimals(), 2);
    EXPECT_EQ(m_edit->GetComma(), ',');
    EXPECT_EQ(m_edit->GetDecimalPoint(), '.');
    EXPECT_EQ(Text(), ".00");
    EXPECT_EQ(m_edit->GetValue(), 0.0);
}

TEST_F(FloatEditTest, ThousandsAreGroupedUnlessDisabled)
{
    EXPECT_EQ(Shown(1234567.891), "1,234,567.89");
    m_edit->EnableCommas(0);
    EXPECT_EQ(Text(), "1234567.89");
    m_edit->EnableCommas(1);
    EXPECT_EQ(Text(), "1,234,567.89");
}

TEST_F(FloatEditTest, NoLeadingSeparatorAndTheSignComesFirst)
{
    m_edit->SetDecimals(0);
    EXPECT_EQ(Shown(123), "123");
    EXPECT_EQ(Shown(-123456), "-123,456");
    EXPECT_EQ(Shown(-1234), "-1,234");
    EXPECT_EQ(Shown(1e20), "100,000,000,000,000,000,000");
}

TEST_F(FloatEditTest, DecimalsAreCutNotRounded)
{
    EXPECT_EQ(Shown(1.239), "1.23");
    EXPECT_EQ(Shown(-1.999), "-1.99");
    EXPECT_EQ(Shown(9.999999), "9.99");
    EXPECT_EQ(m_edit->GetValue(), 9.999999);  // the value is kept whole
}

TEST_F(FloatEditTest, FifteenSignificantDigitsShowDecimalsAsWritten)
{
    // 0.29 is 0.28999999999999998 as a double: 17 digits would show .28.
    EXPECT_EQ(Shown(0.29), ".29");
    EXPECT_EQ(Shown(1.24), "1.24");
    EXPECT_EQ(Shown(4.35), "4.35");
    m_edit->SetDecimals(15);
    EXPECT_EQ(Shown(0.1), ".100000000000000");
    EXPECT_EQ(Shown(123.456), "123.456000000000000");
}

TEST_F(FloatEditTest, NumbersBelowOneHaveNoIntegerDigit)
{
    EXPECT_EQ(Shown(0.5), ".50");
    EXPECT_EQ(Shown(-0.5), "-.50");
    EXPECT_EQ(Shown(0.001), ".00");
    EXPECT_EQ(Shown(0), ".00");
    m_edit->SetDecimals(0);
    EXPECT_EQ(Shown(0.5), "");
}

TEST_F(FloatEditTest, SettingsReformatTheValue)
{
    m_edit->SetValue(98765.4321);
    m_edit->SetDecimals(3);
    EXPECT_EQ(Text(), "98,765.432");
    m_edit->SetComma(' ');
    EXPECT_EQ(Text(), "98 765.432");
    m_edit->SetDecimalPoint(',');
    EXPECT_EQ(Text(), "98 765,432");
    m_edit->SetDecimals(0);
    EXPECT_EQ(Text(), "98 765");
    EXPECT_EQ(m_edit->cursorPosition(), 0);
}

TEST_F(FloatEditTest, DecimalsAreBounded)
{
    m_edit->SetDecimals(-4);
    EXPECT_EQ(m_edit->GetDecimals(), 0);
    m_edit->SetDecimals(1000000);
    EXPECT_EQ(m_edit->GetDecimals(), CFloatEdit::MaxDecimals);
    EXPECT_EQ(Text().size(), 1u + CFloatEdit::MaxDecimals);
}

TEST_F(FloatEditTest, ValuesThatAreNotNumbersShowZero)
{
    EXPECT_EQ(Shown(std::numeric_limits<double>::quiet_NaN()), ".00");
    EXPECT_EQ(m_edit->GetValue(), 0.0);
    EXPECT_EQ(Shown(-std::numeric_limits<double>::infinity()), ".00");
}

TEST_F(FloatEditTest, TheLocaleGivesTheSeparators)
{
    MakeUnder(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(m_edit->GetDecimalPoint(), ',');
    EXPECT_EQ(m_edit->GetComma(), '.');
    EXPECT_EQ(Shown(1234.5), "1.234,50");
}

TEST_F(FloatEditTest, FrenchGroupingBecomesTheNoBreakSpace)
{
    // Qt's French grouping is U+202F, which Latin-1 has not.
    MakeUnder(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(m_edit->GetDecimalPoint(), ',');
    EXPECT_EQ(m_edit->GetComma(), '\xA0');
    EXPECT_EQ(Shown(-1234567.5), "-1\xA0" "234\xA0" "567,50");
    EXPECT_EQ(m_edit->text(), QString::fromUtf8("-1\u00A0234\u00A0567,50"));
}

TEST_F(FloatEditTest, TheSeparatorNeverEqualsThePoint)
{
    // Walser: decimal ',' and grouping U+2019, which Latin-1 has not; the
    // default separator ',' cannot stay.
    MakeUnder(QLocale(QString::fromLatin1("wae_CH")));
    ASSERT_EQ(QLocale().decimalPoint(), QString::fromLatin1(","));
    EXPECT_EQ(m_edit->GetDecimalPoint(), ',');
    EXPECT_EQ(m_edit->GetComma(), '.');
}

}  // namespace
}  // namespace tarvic::test
