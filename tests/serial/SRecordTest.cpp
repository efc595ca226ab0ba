#include <gtest/gtest.h>

#include <cstring>

#include "SRecordHelpers.h"

namespace tarvic::test {
namespace {

const std::string S0 = "S00600004844521B\n";

class SRecordTest : public ::testing::Test {
protected:
    std::string Write(const std::string& content) { return m_files.Write("image.s19", content); }
    TempFiles m_files;
};

// --- Blocks ------------------------------------------------------------------

TEST_F(SRecordTest, ContiguousRecordsMakeOneBlockThenTheStartAddress)
{
    const Bytes data = Serie(48, 0x40);
    SRecord reader(Write(S0 + S3(0x10000, Part(data, 0, 16)) + S3(0x10010, Part(data, 16, 16)) +
                         S3(0x10020, Part(data, 32, 16)) + S7(0x10004)));
    ASSERT_EQ(reader.LitNbLigne(), 5);

    char buffer[SRecord::TailleTampon];
    int nbOctets = -1;
    int adresse = -1;
    ASSERT_EQ(reader.LitSRecord(buffer, nbOctets, adresse), 1);
    EXPECT_EQ(nbOctets, 54);
    EXPECT_EQ(adresse, 0x10000);
    const Bytes header(buffer, buffer + 6);
    EXPECT_EQ(header, (Bytes{0x00, 0x01, 0x00, 0x00, 0x00, 0x30}));
    EXPECT_EQ(Bytes(buffer + 6, buffer + 54), data);
    EXPECT_EQ(reader.LitStartAdr(), 0);

    EXPECT_EQ(reader.LitSRecord(buffer, nbOctets, adresse), 0);
    EXPECT_EQ(nbOctets, 0);
    EXPECT_EQ(reader.LitStartAdr(), 0x10004);
    EXPECT_EQ(reader.LitLigne(), reader.LitNbLigne());
    EXPECT_EQ(reader.LitNbErreurSomme(), 0);
}

TEST_F(SRecordTest, AGapStartsANewBlockOnTheNextCall)
{
    SRecord reader(Write(S3(0x2000, Serie(16)) + S3(0x2010, Serie(8, 16)) + S3(0x3000, Serie(4, 0xA0)) + S7(0)));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0], (Block{0x2000, 0x2000, 30, Serie(24)}));
    EXPECT_EQ(blocks[1], (Block{0x3000, 0x3000, 10, Serie(4, 0xA0)}));
    EXPECT_EQ(reader.LitLigne(), reader.LitNbLigne());
}

TEST_F(SRecordTest, ARecordPendingOnTheLastLineIsNotLost)
{
    // The record that ends the first block is the file's last line.
    SRecord reader(Write(S3(0x2000, Serie(16)) + S3(0x8000, Serie(3, 7))));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1], (Block{0x8000, 0x8000, 9, Serie(3, 7)}));
}

TEST_F(SRecordTest, AnS7OnTheLastLineAfterDataGivesTheStartAddress)
{
    SRecord reader(Write(S3(0x100, Serie(16)) + S7(0x1234ABCD)));
    char buffer[SRecord::TailleTampon];
    int nbOctets = 0;
    int adresse = 0;
    ASSERT_EQ(reader.LitSRecord(buffer, nbOctets, adresse), 1);
    EXPECT_EQ(reader.LitLigne(), reader.LitNbLigne());
    EXPECT_EQ(reader.LitSRecord(buffer, nbOctets, adresse), 0);
    EXPECT_EQ(reader.LitStartAdr(), 0x1234ABCD);
}

TEST_F(SRecordTest, DataBeyond1017BytesAreSplitAtRecordBoundaries)
{
    std::string image;
    for (int i = 0; i < 70; ++i)
        image += S3(0x4000 + 16 * static_cast<std::uint32_t>(i), Serie(16, static_cast<std::uint8_t>(i)));
    SRecord reader(Write(image));
    const auto blocks = ReadBlocks(reader);
    // 63 records of 16 bytes fill 1008 bytes; a 64th would pass 1017.
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].adresse, 0x4000u);
    EXPECT_EQ(blocks[0].donnees.size(), 1008u);
    EXPECT_EQ(blocks[0].nbOctets, 1014);
    EXPECT_EQ(blocks[1].adresse, 0x4000u + 1008);
    EXPECT_EQ(blocks[1].donnees.size(), 112u);
    EXPECT_EQ(Part(blocks[1].donnees, 0, 16), Serie(16, 63));
}

TEST_F(SRecordTest, FullestBlockHolds1017DataBytes)
{
    // 4 records of 250 bytes and one of 17: exactly 1017, then one more byte.
    std::string image;
    for (std::uint32_t i = 0; i < 4; ++i) image += S3(250 * i, Serie(250, static_cast<std::uint8_t>(i)));
    image += S3(1000, Serie(17, 9)) + S3(1017, Serie(1, 0xEE));
    SRecord reader(Write(image));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].nbOctets, 1017 + 6);
    EXPECT_EQ(blocks[0].adresse, 0u);
    EXPECT_EQ(blocks[1], (Block{1017, 1017, 7, Bytes{0xEE}}));
}

TEST_F(SRecordTest, NothingIsWrittenPastTheBufferSize)
{
    std::string image;
    for (std::uint32_t i = 0; i < 4; ++i) image += S3(250 * i, Serie(250));
    image += S3(1000, Serie(17)) + S3(1017, Serie(1));
    SRecord reader(Write(image));
    char buffer[2 * SRecord::TailleTampon];
    std::memset(buffer, 0x5A, sizeof buffer);
    int nbOctets = 0;
    int adresse = 0;
    ASSERT_EQ(reader.LitSRecord(buffer, nbOctets, adresse), 1);
    EXPECT_EQ(nbOctets, 1023);
    for (int i = SRecord::TailleTampon; i < static_cast<int>(sizeof buffer); ++i) ASSERT_EQ(buffer[i], 0x5A) << i;
}

TEST_F(SRecordTest, OtherRecordsAndBlankLinesAreSkipped)
{
    SRecord reader(Write(S0 + Record('1', 2, 0x1000, Serie(8)) + "\n" + Record('2', 3, 0x21000, Serie(8)) +
                         "S5030003F9\n" + Record('9', 2, 0x1000, {})));
    EXPECT_EQ(reader.LitNbLigne(), 6);
    EXPECT_TRUE(ReadBlocks(reader).empty());
    EXPECT_EQ(reader.LitLigne(), 6);
    EXPECT_EQ(reader.LitStartAdr(), 0);
}

TEST_F(SRecordTest, WithoutS7ReadingEndsAndNoBlockComesTwice)
{
    SRecord reader(Write(S3(0x10, Serie(5)) + S3(0x40, Serie(6))));
    EXPECT_EQ(ReadBlocks(reader).size(), 2u);
    EXPECT_EQ(reader.LitLigne(), reader.LitNbLigne());
    char buffer[SRecord::TailleTampon];
    int nbOctets = 99;
    int adresse = 0;
    EXPECT_EQ(reader.LitSRecord(buffer, nbOctets, adresse), 0);
    EXPECT_EQ(nbOctets, 0);
}

TEST_F(SRecordTest, AddressZeroAndAWrapAroundAreRealAddresses)
{
    // A block at 0, and a block ending at the top of memory followed by another
    // address: the next expected address (0) must not be taken for "none yet".
    SRecord reader(Write(S3(0, Serie(16)) + S3(0x10, Serie(4)) + S3(0xFFFFFFF0, Serie(16, 1)) + S3(0x500, Serie(2))));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0], (Block{0, 0, 26, Serie(16) + Serie(4)}));
    EXPECT_EQ(blocks[1].adresse, 0xFFFFFFF0u);
    EXPECT_EQ(blocks[1].adresseRendue, -16);
    EXPECT_EQ(blocks[2], (Block{0x500, 0x500, 8, Serie(2)}));
}

TEST_F(SRecordTest, CrLfLinesAreRead)
{
    SRecord reader(Write("S3090000100001020304DC\r\nS70500001000EA\r\n"));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0], (Block{0x1000, 0x1000, 10, Bytes{1, 2, 3, 4}}));
    EXPECT_EQ(reader.LitStartAdr(), 0x1000);
    EXPECT_EQ(reader.LitNbErreurSomme(), 0);
}

TEST_F(SRecordTest, LNbcFollowsTheAddressWidthOfTheCurrentRecord)
{
    SRecord reader(Write("S1130000\nS2140000\nS3150000\nS9030000\nS3G0\n"));
    char buffer[SRecord::TailleTampon];
    int nbOctets = 0;
    int adresse = 0;
    // Reading everything leaves the last line current.
    EXPECT_EQ(reader.LitSRecord(buffer, nbOctets, adresse), 0);
    EXPECT_EQ(reader.LNbc(), -1);  // "G0" is no byte count

    SRecord s1(Write("S1130000\n"));
    s1.LitSRecord(buffer, nbOctets, adresse);
    EXPECT_EQ(s1.LNbc(), 0x13 - 3);
    SRecord s2(Write("S2140000\n"));
    s2.LitSRecord(buffer, nbOctets, adresse);
    EXPECT_EQ(s2.LNbc(), 0x14 - 4);
    SRecord s9(Write("S9030000\n"));
    s9.LitSRecord(buffer, nbOctets, adresse);
    EXPECT_EQ(s9.LNbc(), 0x03 - 1);
}

// --- Input that cannot be trusted ----------------------------------------------

TEST_F(SRecordTest, AFileThatCannotBeOpenedGivesNothing)
{
    SRecord reader(m_files.Path("absent.s19"));
    EXPECT_EQ(reader.LitNbLigne(), 0);
    char buffer[SRecord::TailleTampon];
    int nbOctets = 7;
    int adresse = 0;
    EXPECT_EQ(reader.LitSRecord(buffer, nbOctets, adresse), 0);
    EXPECT_EQ(nbOctets, 0);
    EXPECT_EQ(reader.LitLigne(), 0);
}

TEST_F(SRecordTest, AByteCountLongerThanTheLineSkipsTheRecord)
{
    // Claims 0x40 bytes but holds 4; the records around it are kept, split.
    SRecord reader(Write(S3(0x100, Serie(4)) + "S34000000104AABBCCDD00\n" + S3(0x200, Serie(2, 0x77))));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0], (Block{0x100, 0x100, 10, Serie(4)}));
    EXPECT_EQ(blocks[1], (Block{0x200, 0x200, 8, Serie(2, 0x77)}));
    EXPECT_EQ(reader.LitNbErreurSomme(), 1);
}

TEST_F(SRecordTest, ATooSmallByteCountSkipsTheRecord)
{
    SRecord reader(Write("S30400000100FA\nS30500000200F8\n" + S3(0x300, Serie(1))));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0], (Block{0x300, 0x300, 7, Serie(1)}));
}

TEST_F(SRecordTest, NonHexadecimalCharactersSkipTheRecord)
{
    SRecord reader(Write(S3(0x100, Serie(2)) + "S307000001020Z11CC\n" + "S3070X00010411223F\n" + S3(0x106, Serie(1))));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0], (Block{0x100, 0x100, 8, Serie(2)}));
    EXPECT_EQ(blocks[1], (Block{0x106, 0x106, 7, Serie(1)}));
    EXPECT_EQ(reader.LitNbErreurSomme(), 2);
}

TEST_F(SRecordTest, TheRestOfAnOverlongLineIsNotANewLine)
{
    // Past character 2047 the line carries what would be a valid record.
    const std::string tail = S3(0x9000, Serie(4));
    const std::string longLine = S3(0x100, Serie(4)).substr(0, 22) + std::string(2047 - 22, ' ') + tail;
    SRecord reader(Write(longLine + S3(0x104, Serie(2, 4))));
    EXPECT_EQ(reader.LitNbLigne(), 2);
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0], (Block{0x100, 0x100, 12, Serie(6)}));
    EXPECT_EQ(reader.LitLigne(), 2);
}

TEST_F(SRecordTest, AnOverlongLineWithoutEndOfLineIsCounted)
{
    SRecord reader(Write(std::string(5000, 'S')));
    EXPECT_EQ(reader.LitNbLigne(), 1);
    EXPECT_TRUE(ReadBlocks(reader).empty());
    EXPECT_EQ(reader.LitLigne(), 1);
}

TEST_F(SRecordTest, AnS7AddressOfMoreThan8DigitsIsNotTaken)
{
    SRecord reader(Write(S3(0x10, Serie(1)) + "S7071122334455660A\n"));
    EXPECT_EQ(ReadBlocks(reader).size(), 1u);
    EXPECT_EQ(reader.LitStartAdr(), 0);
    EXPECT_EQ(reader.LitLigne(), reader.LitNbLigne());
}

TEST_F(SRecordTest, AShortS7AddressIsReadWithItsOwnWidth)
{
    SRecord reader(Write("S7041234565F\n"));
    EXPECT_TRUE(ReadBlocks(reader).empty());
    EXPECT_EQ(reader.LitStartAdr(), 0x123456);
}

TEST_F(SRecordTest, AnS7ThatClaimsMoreThanTheLineHoldsIsNotTaken)
{
    SRecord reader(Write("S70512\n"));
    EXPECT_TRUE(ReadBlocks(reader).empty());
    EXPECT_EQ(reader.LitStartAdr(), 0);
    EXPECT_EQ(reader.LitNbErreurSomme(), 1);
}

TEST_F(SRecordTest, EmptyDataRecordsAreSkipped)
{
    SRecord reader(Write(S3(0x100, {}) + S3(0x200, Serie(3))));
    const auto blocks = ReadBlocks(reader);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0], (Block{0x200, 0x200, 9, Serie(3)}));
}

// --- Checksums ---------------------------------------------------------------

TEST_F(SRecordTest, WrongChecksumsAreCountedWithoutChangingTheBlocks)
{
    auto corrupt = [](std::string record) {
        const std::size_t last = record.size() - 2;  // second checksum digit
        record[last] = record[last] == '0' ? '1' : '0';
        return record;
    };
    const std::string good = S0 + S3(0x100, Serie(16)) + S3(0x110, Serie(16, 3)) + S3(0x400, Serie(5)) + S7(0x100);
    const std::string bad = corrupt(S0) + S3(0x100, Serie(16)) + corrupt(S3(0x110, Serie(16, 3))) +
                            S3(0x400, Serie(5)) + corrupt(S7(0x100));
    SRecord goodReader(m_files.Write("good.s19", good));
    SRecord badReader(m_files.Write("bad.s19", bad));
    const auto expected = ReadBlocks(goodReader);
    EXPECT_EQ(ReadBlocks(badReader), expected);
    EXPECT_EQ(badReader.LitStartAdr(), goodReader.LitStartAdr());
    EXPECT_EQ(goodReader.LitNbErreurSomme(), 0);
    EXPECT_EQ(badReader.LitNbErreurSomme(), 3);
}

TEST_F(SRecordTest, APendingLineIsCheckedOnce)
{
    const std::string record = S3(0x800, Serie(2));
    SRecord reader(Write(S3(0x100, Serie(2)) + record.substr(0, record.size() - 3) + "00\n"));
    EXPECT_EQ(ReadBlocks(reader).size(), 2u);
    EXPECT_EQ(reader.LitNbErreurSomme(), 1);
}

// --- Copies --------------------------------------------------------------------

TEST_F(SRecordTest, ACopyCarriesOnWhereTheOriginalStopped)
{
    auto original =
        std::make_unique<SRecord>(Write(S3(0x100, Serie(2)) + S3(0x200, Serie(3)) + S3(0x300, Serie(4)) + S7(0x42)));
    char buffer[SRecord::TailleTampon];
    int nbOctets = 0;
    int adresse = 0;
    ASSERT_EQ(original->LitSRecord(buffer, nbOctets, adresse), 1);

    SRecord copy(*original);
    // The last object sharing the file closes it.
    original.reset();
    const auto rest = ReadBlocks(copy);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0], (Block{0x200, 0x200, 9, Serie(3)}));  // the pending record came along
    EXPECT_EQ(rest[1], (Block{0x300, 0x300, 10, Serie(4)}));
    EXPECT_EQ(copy.LitStartAdr(), 0x42);
    EXPECT_EQ(copy.LitLigne(), 4);
}

TEST_F(SRecordTest, CopiesReadFromOneFilePosition)
{
    SRecord original(Write(S3(0x100, Serie(2)) + S3(0x200, Serie(3)) + S3(0x300, Serie(4)) + S7(0x42)));
    SRecord copy(original);
    char buffer[SRecord::TailleTampon];
    int nbOctets = 0;
    int adresse = 0;
    ASSERT_EQ(copy.LitSRecord(buffer, nbOctets, adresse), 1);
    EXPECT_EQ(adresse, 0x100);
    // The copy has read two lines of the shared file: the original goes on at the third.
    ASSERT_EQ(original.LitSRecord(buffer, nbOctets, adresse), 1);
    EXPECT_EQ(adresse, 0x300);
}

TEST_F(SRecordTest, AssignmentTakesTheOtherFile)
{
    SRecord first(m_files.Write("a.s19", S3(0x10, Serie(1))));
    auto second = std::make_unique<SRecord>(m_files.Write("b.s19", S3(0x20, Serie(2)) + S7(5)));
    first = *second;
    second.reset();
    const auto blocks = ReadBlocks(first);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].adresse, 0x20u);
    EXPECT_EQ(first.LitNbLigne(), 2);
    EXPECT_EQ(first.LitStartAdr(), 5);
}

}  // namespace
}  // namespace tarvic::test
