#include "net/TextCoding.h"

#include <gtest/gtest.h>

#include <string>

namespace net {
namespace {

TEST(Base64, EncodesWithPaddingForEachRemainder)
{
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("M"), "TQ==");
    EXPECT_EQ(Base64Encode("Ma"), "TWE=");
    EXPECT_EQ(Base64Encode("Man"), "TWFu");
    EXPECT_EQ(Base64Encode(std::string("\0\0\0\0\0\xFB\xFF", 7)), "AAAAAAD7/w==");
}

TEST(Base64, DecodesBackExactlyWithoutThePaddingBytes)
{
    std::string bytes = "avant";
    ASSERT_TRUE(Base64Decode("TQ==", bytes));
    EXPECT_EQ(bytes, "M");
    ASSERT_TRUE(Base64Decode("TWE=", bytes));
    EXPECT_EQ(bytes, "Ma");
    ASSERT_TRUE(Base64Decode("AAAAAAD7/w==", bytes));
    EXPECT_EQ(bytes, std::string("\0\0\0\0\0\xFB\xFF", 7));
    ASSERT_TRUE(Base64Decode("", bytes));
    EXPECT_EQ(bytes, "");
}

TEST(Base64, RefusesWhatIsNotBase64AndKeepsTheBytes)
{
    std::string bytes = "avant";
    for (const char* text : {"TQ=", "TQ=A", "T===", "TW E", " TWFu", "TWFu\n", "TW!u", "=TWF"})
        EXPECT_FALSE(Base64Decode(text, bytes)) << text;
    EXPECT_EQ(bytes, "avant");
}

TEST(Utf8, Latin1IsTheTwoByteCharactersUpToC3)
{
    EXPECT_EQ(Utf8ToLatin1("A\x7F\xC2\x80\xC3\xA9\xC3\xBF"), "A\x7F\x80\xE9\xFF");
}

TEST(Utf8, BeyondLatin1EachCharacterIsOneQuestionMark)
{
    // U+0100, U+20AC, U+1F600: two, three and four bytes.
    EXPECT_EQ(Utf8ToLatin1("\xC4\x80|\xE2\x82\xAC|\xF0\x9F\x98\x80|"), "?|?|?|");
}

}  // namespace
}  // namespace net
