#include "Options.h"

#include <cstdlib>

#include "Station.h"

namespace cardsim {
namespace {

constexpr const char* kUsage =
    "usage: cardsim [--station brakmor|varnok|quillon|torvane] [--link PATH] [--log FILE]\n"
    "               [--silent | --split | --bytewise | --garbage] [--hangup-after N] [--flood N]\n"
    "Opens a pseudo-terminal that answers like the station's interface card and prints its path.\n";

bool ToNumber(const char* text, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long number = 0;
        if (arg == "--station" && hasValue) {
            options.station = argv[++i];
            if (!FindStation(options.station)) {
                error = "cardsim: unknown station '" + options.station + "'\n" + kUsage;
                return std::nullopt;
            }
        } else if (arg == "--link" && hasValue) {
            options.link = argv[++i];
        } else if (arg == "--log" && hasValue) {
            options.logFile = argv[++i];
        } else if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--split") {
            options.delivery = Delivery::Split;
        } else if (arg == "--bytewise") {
            options.delivery = Delivery::Bytewise;
        } else if (arg == "--garbage") {
            options.delivery = Delivery::Garbage;
        } else if (arg == "--hangup-after" && hasValue && ToNumber(argv[i + 1], number)) {
            options.hangUpAfter = static_cast<int>(number);
            ++i;
        } else if (arg == "--flood" && hasValue && ToNumber(argv[i + 1], number)) {
            options.flood = number;
            ++i;
        } else {
            error = arg == "--help" ? kUsage : "cardsim: bad argument '" + arg + "'\n" + kUsage;
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace cardsim
