#include <gtest/gtest.h>

#include "engine/NumberText.h"

using banc::NumberText;

TEST(NumberText, WritesNumbersAsAFrenchReaderWould)
{
    EXPECT_EQ(NumberText(5e-5), "0,00005");
    EXPECT_EQ(NumberText(32), "32");
    EXPECT_EQ(NumberText(2.5), "2,5");
    EXPECT_EQ(NumberText(0.0078125), "0,0078125");
    EXPECT_EQ(NumberText(double{63.999f}), "63,999");  // a float limit, not its binary tail
    EXPECT_EQ(NumberText(-32), "-32");
    EXPECT_EQ(NumberText(1e9), "1000000000");
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(-1e-12), "-0,000000000001");
    // Six significant digits, as printf's %g, without its exponent.
    EXPECT_EQ(NumberText(1.0 / 3), "0,333333");
    EXPECT_EQ(NumberText(2048.0001), "2048");
}
