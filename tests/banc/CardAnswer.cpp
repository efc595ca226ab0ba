#include "CardAnswer.h"

#include "recording/RecordingSupport.h"
#include "tarvic/platform/Text.h"

namespace banc::test {

std::string BlockLine(int number, std::uint16_t value)
{
    tarvic::test::Valeurs values{};
    for (auto& row : values) row.fill(value);
    return tarvic::test::LigneBloc(number, values);
}

std::optional<std::string> CardAnswer(const std::string& line, std::uint16_t value)
{
    const std::string text = tarvic::Mid(line, 1);
    if (line.rfind("!", 0) == 0) return "!OK";
    if (text == "AEBC") return "!AEBC033303330333";
    if (text == "AMD") return "!AMD 0000";
    if (text == "AVS") return "!AVS0000000000000000";
    if (text == "ACO") return "!ACO0000";
    if (text.rfind("TEM", 0) == 0) return "!TEM" + tarvic::Mid(text, 3, 2) + "O";
    if (text.rfind("TSF", 0) == 0) {
        std::uint32_t number = 0;
        tarvic::ScanHex(tarvic::Mid(text, 3, 2), number);
        return BlockLine(static_cast<int>(number), value);
    }
    return "!Erreur";
}

}  // namespace banc::test
