// libFuzzer target: the formula renderer on any text. Nothing is drawn but
// runs of the text's own characters (and the integral sign for "|"), and
// measuring draws nothing.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "tarvic/platform/RecordingDC.h"
#include "tarvic/recording/Equation.h"

using namespace tarvic::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    const int height = in.Byte() % 64 - 8;
    const bool keepColor = in.Byte() % 2;
    const std::string text = in.Rest();

    CRecordingDC dc;
    CEquation equation(text, CPoint(10, 40), height);
    equation.Draw(&dc, keepColor);
    for (const auto& call : dc.Calls()) {
        if (call.op != "text") continue;
        const bool integral = call.text == "\xF2" && text.find('|') != std::string::npos;
        Check(integral || text.find(call.text) != std::string::npos, "no character outside the text is drawn");
    }
    dc.Clear();
    equation.LongEquation(&dc, text);
    for (const auto& call : dc.Calls()) Check(call.op != "text", "measuring draws nothing");
    return 0;
}
