// A profile reached through symbolic links, as accounts share their settings:
// the links stay, their targets take the writes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "IniProfileFixture.h"
#include "tarvic/platform/IniProfile.h"

namespace fs = std::filesystem;
using tarvic::IniProfile;

namespace {

class IniProfileLinks : public tarvic::test::IniProfileTest {
protected:
    void Link(const std::string& target, const std::string& name) const
    {
        ASSERT_EQ(::symlink(target.c_str(), PathOf(name).c_str()), 0) << name;
    }
    // The link's target as written, or "not a link".
    std::string LinkTarget(const std::string& name) const
    {
        std::error_code error;
        const fs::path target = fs::read_symlink(PathOf(name), error);
        return error ? "not a link" : target.string();
    }
    std::set<std::string> Files(const std::string& folder = "") const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir / folder)) names.insert(entry.path().filename().string());
        return names;
    }
    static mode_t Mode(const std::string& path)
    {
        struct stat info{};
        return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
};

}  // namespace

TEST_F(IniProfileLinks, ALinkedProfileStaysALinkAndItsTargetTakesTheWriteWithItsMode)
{
    Put(PathOf("commun.ini"), "[S]\r\na=1\r\n");
    ASSERT_EQ(::chmod(PathOf("commun.ini").c_str(), 0640), 0);
    Link("commun.ini", "lien.ini");
    ASSERT_TRUE(IniProfile(PathOf("lien.ini")).WriteProfileString("S", "b", "2"));
    EXPECT_EQ(LinkTarget("lien.ini"), "commun.ini");
    EXPECT_EQ(Contents(PathOf("commun.ini")), "[S]\r\na=1\r\nb=2\r\n");
    EXPECT_EQ(Mode(PathOf("commun.ini")), 0640u);
    EXPECT_EQ(Files(), (std::set<std::string>{"commun.ini", "lien.ini"}));  // no temporary left anywhere
}

TEST_F(IniProfileLinks, AChainOfLinksLeadsTheWriteToItsEnd)
{
    fs::create_directories(m_dir / "reel");
    fs::create_directories(m_dir / "autre");
    Put(PathOf("reel/p.ini"), "[S]\na=1\n");
    Link("../reel/p.ini", "autre/relais.ini");
    Link(PathOf("autre/relais.ini"), "lien.ini");
    ASSERT_TRUE(IniProfile(PathOf("lien.ini")).WriteProfileString("S", "a", "3"));
    EXPECT_EQ(LinkTarget("lien.ini"), PathOf("autre/relais.ini"));
    EXPECT_EQ(LinkTarget("autre/relais.ini"), "../reel/p.ini");
    EXPECT_EQ(Contents(PathOf("reel/p.ini")), "[S]\na=3\n");
    EXPECT_EQ(Files("reel"), std::set<std::string>{"p.ini"});
    EXPECT_EQ(Files("autre"), std::set<std::string>{"relais.ini"});
}

// One account's configuration folder is a link to another's, whose profile
// is itself a link beside that folder: ".." is taken where the system takes it.
TEST_F(IniProfileLinks, AProfileFolderThatLinksElsewhereKeepsItsLinkedProfile)
{
    fs::create_directories(m_dir / "compte-a" / "tarvic");
    fs::create_directories(m_dir / "compte-b");
    Put(PathOf("compte-a/Varnok-commun.ini"), "[CONFIGURATION]\nPORT=COM1\n");
    Link("../Varnok-commun.ini", "compte-a/tarvic/Varnok.ini");
    Link("../compte-a/tarvic", "compte-b/tarvic");

    ASSERT_TRUE(IniProfile(PathOf("compte-b/tarvic/Varnok.ini")).WriteProfileString("CONFIGURATION", "PORT", "COM3"));
    EXPECT_EQ(Contents(PathOf("compte-a/Varnok-commun.ini")), "[CONFIGURATION]\nPORT=COM3\n");
    EXPECT_EQ(LinkTarget("compte-a/tarvic/Varnok.ini"), "../Varnok-commun.ini");
    EXPECT_EQ(LinkTarget("compte-b/tarvic"), "../compte-a/tarvic");
    EXPECT_EQ(Files("compte-a"), (std::set<std::string>{"Varnok-commun.ini", "tarvic"}));

    // A profile first written through the linked folder is made in the folder it links to.
    ASSERT_TRUE(IniProfile(PathOf("compte-b/tarvic/Brakmor.ini")).WriteProfileString("CONFIGURATION", "PORT", "COM2"));
    EXPECT_EQ(Contents(PathOf("compte-a/tarvic/Brakmor.ini")), "[CONFIGURATION]\nPORT=COM2\n");
    EXPECT_EQ(Files("compte-a/tarvic"), (std::set<std::string>{"Brakmor.ini", "Varnok.ini"}));
    EXPECT_EQ(Files("compte-b"), std::set<std::string>{"tarvic"});
}

TEST_F(IniProfileLinks, ALinkToAFileNotYetMadeMakesItsTarget)
{
    Link("nouveau.ini", "lien.ini");
    IniProfile profile(PathOf("lien.ini"));
    ASSERT_TRUE(profile.WriteProfileString("S", "e", "v"));
    EXPECT_EQ(LinkTarget("lien.ini"), "nouveau.ini");
    EXPECT_EQ(Contents(PathOf("nouveau.ini")), "[S]\ne=v\n");
    EXPECT_EQ(profile.GetProfileString("S", "e", ""), "v");
}

TEST_F(IniProfileLinks, LinksThatLoopAreRefusedAndNothingIsMade)
{
    Link("b.ini", "a.ini");
    Link("a.ini", "b.ini");
    errno = 0;
    EXPECT_FALSE(IniProfile(PathOf("a.ini")).WriteProfileString("S", "e", "v"));
    EXPECT_EQ(errno, ELOOP);
    EXPECT_EQ(Files(), (std::set<std::string>{"a.ini", "b.ini"}));
}
