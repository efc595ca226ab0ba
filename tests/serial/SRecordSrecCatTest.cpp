#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <random>

#include "SRecordHelpers.h"

extern char** environ;

// Images written by srec_cat (package srecord) from known binaries are read
// back byte for byte.
namespace tarvic::test {
namespace {

// One run of srec_cat; false with a message when it cannot run or fails.
::testing::AssertionResult SrecCat(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    std::string program = "srec_cat";
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (auto& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, "srec_cat", nullptr, nullptr, argv.data(), environ);
    if (error == ENOENT) return ::testing::AssertionFailure() << "srec_cat not found: install the package srecord";
    if (error != 0) return ::testing::AssertionFailure() << "srec_cat could not start, error " << error;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return ::testing::AssertionFailure() << "srec_cat failed, status " << status;
    return ::testing::AssertionSuccess();
}

Bytes RandomBytes(int count, unsigned seed)
{
    std::mt19937 generator(seed);
    Bytes bytes(static_cast<std::size_t>(count));
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(generator());
    return bytes;
}

// Block count of one contiguous run of `size` bytes in records of 16 bytes
// (the last one shorter): records are packed while they fit in 1017 bytes.
std::size_t BlocksOf16ByteRecords(int size)
{
    std::size_t blocks = 0;
    int fill = 1017;
    for (int left = size; left > 0; left -= 16) {
        const int record = std::min(left, 16);
        if (fill + record > 1017) {
            ++blocks;
            fill = 0;
        }
        fill += record;
    }
    return blocks;
}

struct Segment {
    std::uint32_t adresse;
    Bytes donnees;
};

class SRecordSrecCatTest : public ::testing::Test {
protected:
    // Writes each segment as a binary, has srec_cat place them at their
    // addresses in one S3/S7 image, and reads the image back.
    std::vector<Block> Convert(const std::vector<Segment>& segments, std::uint32_t depart,
                               const std::vector<std::string>& options = {})
    {
        std::vector<std::string> arguments;
        for (std::size_t i = 0; i < segments.size(); ++i) {
            arguments.push_back(m_files.Write("part" + std::to_string(i) + ".bin", segments[i].donnees));
            arguments.insert(arguments.end(), {"-binary", "-offset", Format("0x%X", segments[i].adresse)});
        }
        const std::string image = m_files.Path("image.s19");
        arguments.insert(arguments.end(), {"-o", image, "-motorola", "-address-length=4",
                                           Format("-execution-start-address=0x%X", depart)});
        arguments.insert(arguments.end(), options.begin(), options.end());
        EXPECT_TRUE(SrecCat(arguments));
        SRecord reader(image);
        EXPECT_GT(reader.LitNbLigne(), 0);
        auto blocks = ReadBlocks(reader);
        EXPECT_EQ(reader.LitLigne(), reader.LitNbLigne());
        EXPECT_EQ(reader.LitStartAdr(), static_cast<int>(depart));
        EXPECT_EQ(reader.LitNbErreurSomme(), 0);
        return blocks;
    }

    // Every block lies inside one segment, holds at most 1017 bytes, carries
    // its address twice and its count; together they rebuild every segment.
    static void ExpectImage(const std::vector<Block>& blocks, const std::vector<Segment>& segments)
    {
        std::map<std::uint32_t, std::uint8_t> memory;
        for (const auto& block : blocks) {
            EXPECT_LE(block.donnees.size(), 1017u);
            EXPECT_EQ(block.nbOctets, static_cast<int>(block.donnees.size()) + 6);
            EXPECT_EQ(static_cast<std::uint32_t>(block.adresseRendue), block.adresse);
            bool inside = false;
            for (const auto& segment : segments)
                inside |= block.adresse >= segment.adresse &&
                          block.adresse + block.donnees.size() <= segment.adresse + segment.donnees.size();
            EXPECT_TRUE(inside) << std::hex << block.adresse;
            for (std::size_t i = 0; i < block.donnees.size(); ++i)
                EXPECT_TRUE(memory.emplace(block.adresse + static_cast<std::uint32_t>(i), block.donnees[i]).second);
        }
        std::size_t total = 0;
        for (const auto& segment : segments) {
            total += segment.donnees.size();
            for (std::size_t i = 0; i < segment.donnees.size(); ++i) {
                const auto found = memory.find(segment.adresse + static_cast<std::uint32_t>(i));
                ASSERT_NE(found, memory.end()) << std::hex << segment.adresse + i;
                ASSERT_EQ(found->second, segment.donnees[i]) << std::hex << segment.adresse + i;
            }
        }
        EXPECT_EQ(memory.size(), total);
    }

    TempFiles m_files;
};

TEST_F(SRecordSrecCatTest, ImagesOfSeveralSizesReadBackByteForByte)
{
    for (const int size : {1, 15, 16, 17, 1000, 1017, 1018, 5000}) {
        SCOPED_TRACE(size);
        const std::vector<Segment> segments{{0x10000, RandomBytes(size, static_cast<unsigned>(size))}};
        const auto blocks = Convert(segments, 0x10000, {"-output-block-size=16"});
        ExpectImage(blocks, segments);
        EXPECT_EQ(blocks.size(), BlocksOf16ByteRecords(size));
    }
}

TEST_F(SRecordSrecCatTest, GapsSplitTheImageIntoBlocks)
{
    const std::vector<Segment> segments{{0x1000, RandomBytes(100, 1)},
                                        {0x1070, RandomBytes(40, 2)},
                                        {0x80000000, RandomBytes(2000, 3)},
                                        {0xFFFFFF00, RandomBytes(256, 4)}};
    const auto blocks = Convert(segments, 0x80000010);
    ExpectImage(blocks, segments);
    ASSERT_GE(blocks.size(), 5u);
    EXPECT_EQ(blocks[0].adresse, 0x1000u);
    EXPECT_EQ(blocks[0].donnees.size(), 100u);
    EXPECT_EQ(blocks[1].adresse, 0x1070u);
    EXPECT_EQ(blocks[2].adresse, 0x80000000u);
}

TEST_F(SRecordSrecCatTest, LongUnalignedRecordsAndCrLf)
{
    const std::vector<Segment> segments{{0x20003, RandomBytes(3001, 5)}, {0x30000, RandomBytes(7, 6)}};
    const auto blocks = Convert(segments, 0xDEADBEEF, {"-output-block-size=250", "-crlf"});
    ExpectImage(blocks, segments);
}

TEST_F(SRecordSrecCatTest, StartAddressZero)
{
    const std::vector<Segment> segments{{0, RandomBytes(64, 7)}};
    const auto blocks = Convert(segments, 0);
    ExpectImage(blocks, segments);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].adresse, 0u);
}

}  // namespace
}  // namespace tarvic::test
