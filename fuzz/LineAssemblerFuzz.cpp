// libFuzzer target: the line assembler on any bytes, cut anywhere. The same
// lines come out however the bytes are cut, and every delivered line is one
// the line rules allow.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "tarvic/serial/LineAssembler.h"

using namespace tarvic::fuzz;
using tarvic::LineAssembler;

namespace {

struct Line {
    std::string text;
    LineAssembler::End end;
    bool operator==(const Line&) const = default;
};

std::vector<Line> Assemble(const std::string& bytes, const std::vector<std::size_t>& cuts)
{
    LineAssembler assembler;
    std::vector<Line> lines;
    const auto sink = [&lines](std::string_view line, LineAssembler::End end) {
        lines.push_back({std::string(line), end});
    };
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
        assembler.Feed(std::string_view(bytes).substr(from, cut - from), sink);
        from = cut;
    }
    assembler.Feed(std::string_view(bytes).substr(from), sink);
    return lines;
}

void CheckLine(const Line& line)
{
    Check(line.text.size() <= LineAssembler::kMaxLine, "no line is longer than the limit");
    if (line.end == LineAssembler::End::Overflow) {
        Check(line.text.size() == LineAssembler::kMaxLine, "an overflow is reported at the limit");
        return;
    }
    Check(line.text.find_first_of("\r\n+-") == std::string::npos, "CR, LF and signs are never stored");
    const auto start = line.text.find_first_of("!?");
    Check(start == std::string::npos || start == 0, "a line starts at its last '!' or '?'");
    if (start == 0) Check(line.text.find_first_of("!?", 1) == std::string::npos, "only one start in a line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    std::vector<std::uint8_t> steps(in.Byte() % 8);
    for (auto& step : steps) step = in.Byte();
    const bool endless = in.Byte() % 4 == 0;
    std::string bytes = in.Rest();
    // Lines past the 64 KB limit, from a short input.
    if (endless && !bytes.empty())
        while (bytes.size() <= LineAssembler::kMaxLine + 2) bytes += bytes;

    std::vector<std::size_t> cuts;
    std::size_t at = 0;
    for (const std::uint8_t step : steps) {
        at = std::min(bytes.size(), at + step * (bytes.size() / 255 + 1));
        cuts.push_back(at);
    }
    const auto whole = Assemble(bytes, {});
    Check(Assemble(bytes, cuts) == whole, "the same lines however the bytes are cut");
    for (const Line& line : whole) CheckLine(line);
    if (bytes.size() < 512) {
        std::vector<std::size_t> everyByte;
        for (std::size_t byte = 1; byte < bytes.size(); ++byte) everyByte.push_back(byte);
        Check(Assemble(bytes, everyByte) == whole, "the same lines byte by byte");
    }
    return 0;
}
