#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "IniProfileFixture.h"
#include "tarvic/platform/IniProfile.h"
#include "tarvic/platform/MemoryProfile.h"

namespace fs = std::filesystem;
using namespace tarvic;

using tarvic::test::IniProfileTest;

TEST_F(IniProfileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    const auto path = PathOf("sub/dir/Varnok.ini");
    IniProfile profile(path);
    EXPECT_EQ(profile.GetProfileString("CONFIGURATION", "PORT", "COM1"), "COM1");
    EXPECT_EQ(profile.GetProfileInt("TYPE", "PO", 68), 68);
    ASSERT_TRUE(profile.WriteProfileString("CONFIGURATION", "PORT", "COM3"));
    EXPECT_EQ(Contents(path), "[CONFIGURATION]\nPORT=COM3\n");
}

TEST_F(IniProfileTest, NamesAreCaseInsensitiveAndSpellingIsKept)
{
    const auto path = PathOf("p.ini");
    Put(path, "; settings\r\n[Configuration]\r\nPort = COM2\r\n\r\n[TYPE]\r\nPO=88\r\n");
    IniProfile profile(path);
    EXPECT_EQ(profile.GetProfileString("CONFIGURATION", "PORT", ""), "COM2");
    EXPECT_EQ(profile.GetProfileInt("type", "po", 0), 88);
    ASSERT_TRUE(profile.WriteProfileString("CONFIGURATION", "PORT", "COM7"));
    ASSERT_TRUE(profile.WriteProfileInt("Type", "REGULATEUR", 5));
    // Comments, blank lines, the section's and entry's spelling and CR LF stay.
    EXPECT_EQ(Contents(path), "; settings\r\n[Configuration]\r\nPort=COM7\r\n\r\n[TYPE]\r\nPO=88\r\nREGULATEUR=5\r\n");
}

TEST_F(IniProfileTest, MixedLineEndsReadTheSameBeforeAndAfterARewrite)
{
    const auto path = PathOf("p.ini");
    Put(path, "[S]\nA=1\r\r\nB=2\r\n");
    IniProfile profile(path);
    EXPECT_EQ(profile.GetProfileString("S", "A", ""), "1");
    ASSERT_TRUE(profile.WriteProfileString("S", "B", "3"));
    EXPECT_EQ(profile.GetProfileString("S", "A", ""), "1");
    EXPECT_EQ(Contents(path), "[S]\nA=1\nB=3\n");
}

TEST_F(IniProfileTest, NewEntryGoesAtTheEndOfItsSectionAndNewSectionAtTheEnd)
{
    const auto path = PathOf("p.ini");
    Put(path, "[A]\nx=1\n\n[B]\ny=2\n");
    IniProfile profile(path);
    ASSERT_TRUE(profile.WriteProfileString("A", "z", "3"));
    ASSERT_TRUE(profile.WriteProfileString("C", "w", "\xE9t\xE9"));
    EXPECT_EQ(Contents(path), "[A]\nx=1\nz=3\n\n[B]\ny=2\n\n[C]\nw=\xE9t\xE9\n");
    EXPECT_EQ(profile.GetProfileString("c", "W", ""), "\xE9t\xE9");
}

TEST_F(IniProfileTest, ValuesReadAsTheHostReadsThem)
{
    const auto path = PathOf("p.ini");
    Put(path, "[S]\nquoted=\"1.5\"\nempty=\nword=abc\nneg=-12\nlead=12abc\n");
    IniProfile profile(path);
    EXPECT_EQ(profile.GetProfileString("S", "quoted", ""), "1.5");
    EXPECT_EQ(profile.GetProfileString("S", "empty", "def"), "");
    EXPECT_EQ(profile.GetProfileInt("S", "empty", 7), 7);
    EXPECT_EQ(profile.GetProfileInt("S", "word", 7), 0);
    EXPECT_EQ(profile.GetProfileInt("S", "neg", 7), -12);
    EXPECT_EQ(profile.GetProfileInt("S", "lead", 7), 12);
}

TEST_F(IniProfileTest, RewriteIsAtomicAndLeavesNoTemporary)
{
    const auto path = PathOf("p.ini");
    IniProfile profile(path);
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(profile.WriteProfileInt("S", "n", i));
    EXPECT_EQ(profile.GetProfileInt("S", "n", -1), 19);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir)) ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(IniProfileTest, WritingTheValueAlreadyThereLeavesTheFileAlone)
{
    const auto path = PathOf("p.ini");
    Put(path, "[S]\nn=5\nm = 6\n");
    const auto inode = [&] {
        struct stat file{};
        return ::stat(path.c_str(), &file) == 0 ? file.st_ino : ino_t{0};
    };
    const ino_t first = inode();
    IniProfile profile(path);
    ASSERT_TRUE(profile.WriteProfileInt("S", "n", 5));
    EXPECT_EQ(inode(), first);
    // Written otherwise, the same value is written again in the file's usual form.
    ASSERT_TRUE(profile.WriteProfileInt("S", "m", 6));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(Contents(path), "[S]\nn=5\nm=6\n");
}

TEST_F(IniProfileTest, NamesAndValuesTheFileCannotHoldAreRefusedAndChangeNothing)
{
    const auto path = PathOf("p.ini");
    const std::string text = "[S]\ne=1\n";
    Put(path, text);
    IniProfile profile(path);
    for (const auto& [section, entry, value] : {std::tuple{"S", "e", "2\n[T]\nf=3"},
                                                {"S", "e", "2\r"},
                                                {"S\n", "e", "2"},
                                                {"S]x", "e", "2"},
                                                {" S", "e", "2"},
                                                {"", "e", "2"},
                                                {"S", "e=f", "2"},
                                                {"S", ";e", "2"},
                                                {"S", "[e", "2"},
                                                {"S", "e ", "2"},
                                                {"S", "", "2"},
                                                {"S", "e\r\nf", "2"}}) {
        EXPECT_FALSE(profile.WriteProfileString(section, entry, value)) << section << "/" << entry << "/" << value;
        EXPECT_EQ(Contents(path), text);
    }
    // Blanks and quotes around a value are the host's: kept in the file, dropped on reading.
    ASSERT_TRUE(profile.WriteProfileString("S", "e", " \"a b\" "));
    EXPECT_EQ(profile.GetProfileString("S", "e", ""), "a b");
}

TEST_F(IniProfileTest, UnwritableLocationReportsFailureAndKeepsTheFile)
{
    if (::geteuid() == 0) {
        // root writes anywhere: use a path whose parent is a file instead
        const auto blocker = PathOf("file");
        Put(blocker, "x");
        IniProfile profile(blocker + "/p.ini");
        EXPECT_FALSE(profile.WriteProfileString("S", "e", "v"));
        EXPECT_EQ(profile.GetProfileString("S", "e", "d"), "d");
        return;
    }
    const auto path = PathOf("ro/p.ini");
    fs::create_directories(m_dir / "ro");
    Put(path, "[S]\ne=old\n");
    ::chmod((m_dir / "ro").c_str(), 0555);
    IniProfile profile(path);
    EXPECT_FALSE(profile.WriteProfileString("S", "e", "new"));
    EXPECT_EQ(profile.GetProfileString("S", "e", ""), "old");
    ::chmod((m_dir / "ro").c_str(), 0755);
}

TEST(MemoryProfile, StoresTextAndReadsIntegersLikeAFile)
{
    MemoryProfile profile;
    EXPECT_EQ(profile.GetProfileInt("TYPE", "PO", 68), 68);
    profile.WriteProfileInt("TYPE", "PO", 88);
    EXPECT_EQ(profile.GetProfileString("type", "po", ""), "88");
    profile.WriteProfileString("FERZ", "TE", "5");
    EXPECT_EQ(profile.GetProfileInt("ferz", "te", 0), 5);
    profile.WriteProfileString("FERZ", "TE", "");
    EXPECT_EQ(profile.GetProfileInt("FERZ", "TE", 9), 9);
}
