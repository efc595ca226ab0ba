// A profile shared by programs: writers in other processes, writers killed
// half way, files that are not the writer's own.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "IniProfileFixture.h"
#include "support/PtyPeer.h"
#include "tarvic/platform/IniProfile.h"

namespace fs = std::filesystem;
using tarvic::IniProfile;

namespace {

class IniProfileSharing : public tarvic::test::IniProfileTest {
protected:
    void SetUp() override
    {
        IniProfileTest::SetUp();
        m_path = PathOf("p.ini");
    }

    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir)) names.insert(entry.path().filename().string());
        return names;
    }

    // Runs `work` in a child process that starts when the parent closes the
    // write end of the pipe `go`.
    template <class Work>
    static pid_t Child(const int (&go)[2], Work work)
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(go[1]);
            char byte;
            [[maybe_unused]] const auto got = ::read(go[0], &byte, 1);
            work();
            ::_exit(0);
        }
        return pid;
    }

    static bool ExitedCleanly(pid_t pid)
    {
        int status = 0;
        return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // Two programs, one writing at `a` and one at `b`, at once: every write of both is there.
    void ExpectNoUpdateLost(const std::string& a, const std::string& b)
    {
        constexpr int kWrites = 25;
        int go[2];
        ASSERT_EQ(::pipe(go), 0);
        const auto writer = [](const std::string& path, char name) {
            return [path, name] {
                IniProfile profile(path);
                for (int i = 0; i < kWrites; ++i)
                    if (!profile.WriteProfileInt("S", std::string(1, name) + std::to_string(i), i)) ::_exit(1);
            };
        };
        const pid_t first = Child(go, writer(a, 'a'));
        const pid_t second = Child(go, writer(b, 'b'));
        ::close(go[1]);  // both start together
        ::close(go[0]);
        ASSERT_TRUE(ExitedCleanly(first));
        ASSERT_TRUE(ExitedCleanly(second));
        IniProfile profile(m_path);
        int kept = 0;
        for (int i = 0; i < kWrites; ++i) {
            kept += profile.GetProfileInt("S", "a" + std::to_string(i), -1) == i;
            kept += profile.GetProfileInt("S", "b" + std::to_string(i), -1) == i;
        }
        EXPECT_EQ(kept, 2 * kWrites);
    }

    std::string m_path;
};

}  // namespace

TEST_F(IniProfileSharing, TwoProgramsWritingAtOnceLoseNoUpdate)
{
    ExpectNoUpdateLost(m_path, m_path);
    EXPECT_EQ(Files(), std::set<std::string>{"p.ini"});
}

TEST_F(IniProfileSharing, ProgramsWritingThroughALinkAndAtItsTargetLoseNoUpdate)
{
    const std::string link = PathOf("lien.ini");
    ASSERT_EQ(::symlink("p.ini", link.c_str()), 0);
    ExpectNoUpdateLost(link, m_path);
    EXPECT_EQ(Files(), (std::set<std::string>{"lien.ini", "p.ini"}));
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(IniProfileSharing, TheNextWriterRemovesWhatAKilledWriterLeft)
{
    Put(m_path, "[S]\ne=old\n");
    // What a writer killed between its temporary and its rename leaves, and
    // files of the user's that only look alike.
    Put(m_path + ".tmp.Ab12Cd", "[S]\ne=half");
    Put(m_path + ".backup", "kept");
    Put(m_path + ".tmp.Ab12Cd7", "kept");
    Put(m_path + ".tmp.Ab-2Cd", "kept");
    IniProfile profile(m_path);
    ASSERT_TRUE(profile.WriteProfileString("S", "e", "new"));
    EXPECT_EQ(Files(), (std::set<std::string>{"p.ini", "p.ini.backup", "p.ini.tmp.Ab12Cd7", "p.ini.tmp.Ab-2Cd"}));
    EXPECT_EQ(profile.GetProfileString("S", "e", ""), "new");
}

TEST_F(IniProfileSharing, WritersKilledAtAnyMomentLeaveOneWholeFileAndNothingElse)
{
    IniProfile profile(m_path);
    ASSERT_TRUE(profile.WriteProfileInt("S", "n", -1));
    for (int round = 0; round < 30; ++round) {
        struct stat before{};
        ASSERT_EQ(::stat(m_path.c_str(), &before), 0);
        int go[2];
        ASSERT_EQ(::pipe(go), 0);
        const pid_t writer = Child(go, [this, round] {
            IniProfile mine(m_path);
            for (int i = 0;; ++i) mine.WriteProfileInt("S", "n", round * 1000 + i);
        });
        ::close(go[1]);
        ::close(go[0]);
        // Killed once it has replaced the file, somewhere in a later write.
        ASSERT_TRUE(tarvic::test::WaitUntil([&] {
            struct stat now{};
            return ::stat(m_path.c_str(), &now) == 0 && now.st_ino != before.st_ino;
        }));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        EXPECT_GE(profile.GetProfileInt("S", "n", -1), round * 1000) << round;
    }
    ASSERT_TRUE(profile.WriteProfileInt("S", "n", 7));
    EXPECT_EQ(Files(), std::set<std::string>{"p.ini"});
    EXPECT_EQ(Contents(m_path), "[S]\nn=7\n");
}

TEST_F(IniProfileSharing, APrivateProfileStaysPrivate)
{
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0664}}) {
        Put(m_path, "[S]\n");
        ASSERT_EQ(::chmod(m_path.c_str(), mode), 0);
        ASSERT_TRUE(IniProfile(m_path).WriteProfileString("S", "e", "v"));
        struct stat after{};
        ASSERT_EQ(::stat(m_path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, mode) << std::oct << mode;
    }
}

TEST_F(IniProfileSharing, AFileOfAnotherUserStaysTheirsWhenTheWriterMayGiveItAway)
{
    if (::geteuid() != 0) GTEST_SKIP() << "only a privileged writer may give a file away";
    Put(m_path, "[S]\n");
    ASSERT_EQ(::chown(m_path.c_str(), 4321, 4322), 0);
    ASSERT_TRUE(IniProfile(m_path).WriteProfileString("S", "e", "v"));
    struct stat after{};
    ASSERT_EQ(::stat(m_path.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(after.st_gid, 4322u);
}
