// What the console and the window's Ouvrir read as an archive: regular files
// only, every other kind refused at once and named.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <future>
#include <string>

#include "BancTestSupport.h"
#include "engine/outputs/RecordingArchive.h"

using banc::IsArchive;
using banc::LoadArchive;
using banc::LoadedExperiment;
using banc::test::TemporaryFolder;

namespace {

std::string Refusal(const std::string& path, const std::string& kind)
{
    return "Impossible de lire " + path + " : c'est " + kind + ".";
}

}  // namespace

TEST(ArchiveOpening, ATubeIsRefusedAtOnceEvenThroughALink)
{
    TemporaryFolder folder;
    const std::string tube = folder.File("essai.tbc");
    ASSERT_EQ(::mkfifo(tube.c_str(), 0600), 0);
    // Its other end held open, so that a reader that waited for a writer
    // would not hang here: it would read nothing and say something else.
    const int otherEnd = ::open(tube.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(otherEnd, 0);
    const std::string link = folder.File("lien.tbc");
    ASSERT_EQ(::symlink(tube.c_str(), link.c_str()), 0);
    LoadedExperiment loaded;
    EXPECT_EQ(LoadArchive(tube, loaded), Refusal(tube, "un tube"));
    EXPECT_EQ(LoadArchive(link, loaded), Refusal(link, "un tube"));
    ::close(otherEnd);
}

TEST(ArchiveOpening, ADeviceASocketAndAFolderAreNamedByTheirKind)
{
    TemporaryFolder folder;
    LoadedExperiment loaded;
    EXPECT_EQ(LoadArchive("/dev/null", loaded), Refusal("/dev/null", "un p\xE9riph\xE9rique"));
    EXPECT_EQ(LoadArchive(folder.Path(), loaded), Refusal(folder.Path(), "un dossier"));

    const std::string socketPath = folder.File("prise");
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(server, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(LoadArchive(socketPath, loaded), Refusal(socketPath, "une socket"));
    ::close(server);
}

// Before an output replaces a file, it is asked whether that file is an archive.
TEST(ArchiveOpening, ATubeNamedAsAnOutputIsNoArchiveAndIsNotWaitedOn)
{
    TemporaryFolder folder;
    const std::string tube = folder.File("sortie.csv");
    ASSERT_EQ(::mkfifo(tube.c_str(), 0600), 0);
    auto asked = std::async(std::launch::async, [&] { return IsArchive(tube); });
    if (asked.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Release the reader stuck in its open, so that the test ends.
        const int writer = ::open(tube.c_str(), O_WRONLY | O_CLOEXEC);
        ::close(writer);
        ADD_FAILURE() << "the question waited for a writer";
    }
    EXPECT_FALSE(asked.get());
    EXPECT_FALSE(IsArchive("/dev/null"));
}
