// libFuzzer target: a recording fed status and block replies, well formed or
// not. Every block it accepts holds exactly the values of its reply, and it
// counts exactly the points it holds.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "tarvic/platform/Text.h"
#include "tarvic/recording/Enregistrement.h"

using namespace tarvic::fuzz;

namespace {

constexpr int kPoints = CBlocPoint::kPoints;
constexpr int kRows = CBlocPoint::kRangs;
constexpr char kHex[] = "0123456789ABCDEFabcdef";

// A block reply of the accepted length for block `number`, its values drawn from the input.
std::string BlockReply(Input& in, unsigned number, std::vector<std::int16_t>& values)
{
    std::string line = tarvic::Format("!TSF%2.2X", number & 0xFF);
    values.clear();
    for (int field = 0; field < kPoints * kRows; ++field) {
        std::string digits;
        for (int digit = 0; digit < 4; ++digit) digits += kHex[in.Byte() % (sizeof kHex - 1)];
        auto value = static_cast<std::uint16_t>(std::stoul(digits, nullptr, 16));
        const int row = field % kRows;
        if ((row == 1 || row == 2) && (value & 0x800)) value |= 0xF000;  // 12-bit rows
        values.push_back(static_cast<std::int16_t>(value));
        line += digits;
    }
    return line + "  ";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    // Card units, so that rows 0 to 15 read back as the raw values.
    auto profile = std::make_shared<tarvic::MemoryProfile>();
    profile->WriteProfileInt("TYPE", "PO", 'X');
    profile->WriteProfileInt("ENREGISTREMENT", "NB_BLOC", in.Byte() % 6);
    profile->WriteProfileInt("ENREGISTREMENT", "MODE", in.Byte() % 2 ? 'E' : 'O');
    tarvic::SetProfile(profile);
    CEnregistrement recording;
    recording.SetStart(true);

    int held = 0;  // blocks accepted
    std::vector<std::int16_t> values;
    while (!in.Empty()) {
        const int before = recording.LitNbPoint();
        const unsigned current = static_cast<unsigned>(recording.LitParam(5));
        switch (in.Byte() % 4) {
        case 0: recording.TraitRecept(in.Text() + in.Text()); break;
        case 1: recording.TraitRecept(tarvic::Format("!TEM%2.2X", current) + in.Text()); break;
        case 2: {
            const unsigned number = in.Byte() % 4 ? current : in.Byte();
            recording.TraitRecept(BlockReply(in, number, values));
            if (recording.LitNbPoint() == before) break;  // refused
            Check(number == current, "only the current block is accepted");
            for (int point = 0; point < kPoints; ++point)
                for (int row = 0; row < kRows; ++row)
                    Check(recording.LitPoint(row, held * kPoints + point) ==
                              static_cast<float>(values[static_cast<std::size_t>(point * kRows + row)]),
                          "an accepted block holds the values of its reply");
            ++held;
            break;
        }
        default:
            recording.DmdMesure(0);
            recording.LitBloc();
            break;
        }
        Check(recording.LitNbPoint() == held * kPoints, "the recording counts exactly the points it holds");
    }
    Check(recording.LitPoint(0, held * kPoints) == 0.0f, "no point beyond the blocks held");
    return 0;
}
