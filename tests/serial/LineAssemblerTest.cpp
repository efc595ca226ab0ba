#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tarvic/serial/LineAssembler.h"

using tarvic::LineAssembler;

namespace {

// Feeds the reads in order and writes down what the assembler reports:
// complete lines as they are, anything dropped as "<dropped>".
std::vector<std::string> Assemble(std::initializer_list<std::string> reads)
{
    LineAssembler assembler;
    std::vector<std::string> out;
    for (const auto& read : reads)
        assembler.Feed(read, [&out](std::string_view line, LineAssembler::End end) {
            out.push_back(end == LineAssembler::End::CrLf ? std::string(line) : "<dropped>");
        });
    return out;
}

using Lines = std::vector<std::string>;

// An assembler fed read by read that writes down the lines as they are and
// an overflow as "<overflow N>", N the length reported.
class OverflowWatch {
public:
    void Feed(std::string_view bytes)
    {
        m_assembler.Feed(bytes, [this](std::string_view line, LineAssembler::End end) {
            m_out.push_back(end == LineAssembler::End::Overflow ? "<overflow " + std::to_string(line.size()) + ">"
                                                                : std::string(line));
        });
    }
    const Lines& Out() const { return m_out; }
    std::size_t Pending() const { return m_assembler.Pending(); }

private:
    LineAssembler m_assembler;
    Lines m_out;
};

// The line rules taken one byte at a time, the plainest way, to hold the
// assembler to: what it reports for a stream, written as Assemble does.
Lines OneByteAtATime(const std::string& stream)
{
    Lines out;
    std::string line;
    bool cr = false;
    bool discarding = false;
    for (const char byte : stream) {
        const bool wasCr = std::exchange(cr, byte == '\r');
        if (byte == '\n') {
            if (!discarding) out.push_back(wasCr ? line : "<dropped>");
            line.clear();
            discarding = false;
        } else if (byte == '!' || byte == '?') {
            line.assign(1, byte);
            discarding = false;
        } else if (byte != '\r' && byte != '+' && byte != '-' && !discarding) {
            if (line.size() == LineAssembler::kMaxLine) {
                out.push_back("<dropped>");
                line.clear();
                discarding = true;
            } else {
                line += byte;
            }
        }
    }
    return out;
}

// Feeds `stream` cut at `cuts` (ascending offsets) and writes down what comes out, as Assemble does.
Lines AssembleCut(const std::string& stream, const std::vector<std::size_t>& cuts)
{
    LineAssembler assembler;
    Lines out;
    std::size_t from = 0;
    for (std::size_t to : cuts) {
        assembler.Feed(std::string_view(stream).substr(from, to - from),
                       [&out](std::string_view line, LineAssembler::End end) {
                           out.push_back(end == LineAssembler::End::CrLf ? std::string(line) : "<dropped>");
                       });
        from = to;
    }
    return out;
}

}  // namespace

TEST(LineAssembler, DeliversALineEndedByCrLf)
{
    EXPECT_EQ(Assemble({"!OK\r\n"}), Lines{"!OK"});
    EXPECT_EQ(Assemble({"?VER\r\n"}), Lines{"?VER"});
}

TEST(LineAssembler, BytesBeforeTheLineStartAreDiscarded)
{
    EXPECT_EQ(Assemble({"xy!LEL\r\n"}), Lines{"!LEL"});
    EXPECT_EQ(Assemble({"!AB!CD\r\n"}), Lines{"!CD"});
    // Without any start character the line runs from the previous LF.
    EXPECT_EQ(Assemble({"!A\r\nVER 2\r\n"}), (Lines{"!A", "VER 2"}));
}

TEST(LineAssembler, SignsAreNeverStored)
{
    EXPECT_EQ(Assemble({"!ABC-12+3\r\n"}), Lines{"!ABC123"});
    EXPECT_EQ(Assemble({"!>>->\r\n"}), Lines{"!>>>"});
}

TEST(LineAssembler, LfNotDirectlyAfterCrDropsTheLine)
{
    EXPECT_EQ(Assemble({"!ABC\n"}), Lines{"<dropped>"});
    EXPECT_EQ(Assemble({"!ABC\r \n"}), Lines{"<dropped>"});
    EXPECT_EQ(Assemble({"!ABC\r-\n"}), Lines{"<dropped>"});
    // and the next line starts clean
    EXPECT_EQ(Assemble({"!ABC\n!OK\r\n"}), (Lines{"<dropped>", "!OK"}));
}

TEST(LineAssembler, ALineMaySpanAnyNumberOfReads)
{
    EXPECT_EQ(Assemble({"!AB", "X\r\n"}), Lines{"!ABX"});
    EXPECT_EQ(Assemble({"!", "A", "B", "\r", "\n"}), Lines{"!AB"});
    EXPECT_EQ(Assemble({"!A\r\n!B\r\n"}), (Lines{"!A", "!B"}));
    EXPECT_EQ(Assemble({"!A\r", "\n!B", "\r\n"}), (Lines{"!A", "!B"}));
}

TEST(LineAssembler, AnEmptyLineIsStillALine) { EXPECT_EQ(Assemble({"\r\n"}), Lines{""}); }

TEST(LineAssembler, AnEndlessLineIsDroppedAndReadingGoesOn)
{
    OverflowWatch assembler;
    assembler.Feed("!");
    const std::string garbage(LineAssembler::kMaxLine + 1000, 'x');
    assembler.Feed(garbage);
    EXPECT_EQ(assembler.Out(), Lines{"<overflow 65536>"});
    EXPECT_EQ(assembler.Pending(), 0u);
    // The rest of the endless line goes too, silently, up to its LF.
    assembler.Feed("\r\n!OK\r\n");
    EXPECT_EQ(assembler.Out(), (Lines{"<overflow 65536>", "!OK"}));
}

TEST(LineAssembler, ALineOfExactlyTheLimitIsKept)
{
    std::string line = "!" + std::string(LineAssembler::kMaxLine - 1, 'A');
    EXPECT_EQ(Assemble({line + "\r\n"}), Lines{line});
}

TEST(LineAssembler, TheSameLinesHoweverTheBytesAreCut)
{
    const std::string stream = "xy!LEL 01\r\n!A-B+C\r\n?Q\r \n\r\n!\r\r\n!X!Y\r\nZ\n!OK\r\n";
    const Lines whole = Assemble({stream});
    ASSERT_EQ(whole, (Lines{"!LEL 01", "!ABC", "<dropped>", "", "!", "!Y", "<dropped>", "!OK"}));
    for (std::size_t first = 0; first <= stream.size(); ++first)
        for (std::size_t second = first; second <= stream.size(); ++second)
            EXPECT_EQ(Assemble({stream.substr(0, first), stream.substr(first, second - first), stream.substr(second)}),
                      whole)
                << first << " " << second;
}

TEST(LineAssembler, ALineFilledOverManyReadsOverflowsAtTheByteTooMany)
{
    OverflowWatch assembler;
    assembler.Feed("!");
    const std::string run(300, 'A');
    for (std::size_t stored = 1; stored + run.size() <= LineAssembler::kMaxLine; stored += run.size())
        assembler.Feed(run);
    assembler.Feed(std::string(LineAssembler::kMaxLine - assembler.Pending(), 'A'));
    EXPECT_TRUE(assembler.Out().empty());
    EXPECT_EQ(assembler.Pending(), LineAssembler::kMaxLine);
    assembler.Feed("-+\rB");  // signs and CR are not stored: B is the one too many
    EXPECT_EQ(assembler.Out(), Lines{"<overflow 65536>"});
    assembler.Feed("CD\r\n!OK\r\n");
    EXPECT_EQ(assembler.Out(), (Lines{"<overflow 65536>", "!OK"}));
}

TEST(LineAssembler, ALineOneByteOverTheLimitInOneReadOverflows)
{
    OverflowWatch assembler;
    assembler.Feed("!" + std::string(LineAssembler::kMaxLine, 'A') + "\r\n!OK\r\n");
    EXPECT_EQ(assembler.Out(), (Lines{"<overflow 65536>", "!OK"}));
    EXPECT_EQ(assembler.Pending(), 0u);
}

TEST(LineAssembler, ALineWithoutStartByteRunsFromThePreviousLineEndInAnyRead)
{
    // A start byte drops what is pending; after an LF the next line needs none.
    EXPECT_EQ(Assemble({"!AB", "!CD\r\n", "EF\r\n", "G+H\r\n"}), (Lines{"!CD", "EF", "GH"}));
    EXPECT_EQ(Assemble({"\r", "AB\r\n", "\r\n"}), (Lines{"AB", ""}));
}

TEST(LineAssembler, RandomStreamsCutAnywhereFollowTheRulesByteByByte)
{
    // Bytes drawn mostly from the special ones, so that every rule meets
    // every other at every place of a read, runs long enough for the
    // sixteen-byte steps included.
    static constexpr char kAlphabet[] = "!?+-\r\n\r\nAB0 ";
    std::mt19937 generator(25);
    for (int stream = 0; stream < 2000; ++stream) {
        std::string bytes;
        const std::size_t length = generator() % 200;
        for (std::size_t i = 0; i < length; ++i) {
            if (generator() % 8 == 0)
                bytes.append(generator() % 40, 'x');
            else
                bytes += kAlphabet[generator() % (sizeof kAlphabet - 1)];
        }
        std::vector<std::size_t> cuts;
        for (std::size_t at = 0; at < bytes.size(); at += 1 + generator() % 40) cuts.push_back(at);
        cuts.push_back(bytes.size());
        ASSERT_EQ(AssembleCut(bytes, cuts), OneByteAtATime(bytes)) << "stream " << stream;
    }
}
