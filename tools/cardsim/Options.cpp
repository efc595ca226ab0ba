#include "Options.h"

#include <cmath>
#include <cstdlib>

#include "plants/Benches.h"
#include "plants/Station.h"

namespace cardsim {
namespace {

std::string Usage()
{
    std::string benches;
    for (const auto& name : BenchNames()) benches += (benches.empty() ? "" : "|") + name;
    return "usage: cardsim [--station brakmor|varnok|quillon|torvane | --bench " + benches +
           "]\n"
           "               [--speed K] [--seed N] [--noise PERCENT] [--control PIPE] [--scenario FILE]\n"
           "               [--link PATH] [--log FILE]\n"
           "               [--silent | --split | --bytewise | --garbage] [--hangup-after N] [--flood N]\n"
           "       cardsim --version | --help\n"
           "Opens a pseudo-terminal that answers like the interface card of a station or a\n"
           "control bench and prints its path. --speed runs the card's time K times faster\n"
           "than the clock; --seed and --noise set the bench's measurement noise. A station\n"
           "takes the operator's orders (appui NAME, relache NAME, aru, rearme) from the\n"
           "named pipe of --control and, timed, from the --scenario file.\n";
}

bool ToCount(const char* text, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0;
}

bool ToReal(const char* text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value) && value >= 0;
}

std::string BadArgument(const std::string& arg, const char* value)
{
    static const char* const kTakingValues[] = {"--station", "--bench",        "--speed",    "--seed",
                                                "--noise",   "--control",      "--scenario", "--link",
                                                "--log",     "--hangup-after", "--flood"};
    for (const char* option : kTakingValues)
        if (arg == option)
            return value ? "cardsim: bad value for " + arg + ": '" + value + "'\n"
                         : "cardsim: " + arg + " needs a value\n";
    return "cardsim: bad argument '" + arg + "'\n";
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error)
{
    Options options;
    bool station = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long count = 0;
        double real = 0;
        if (arg == "--station" && value && FindStation(value)) {
            options.station = argv[++i];
            station = true;
        } else if (arg == "--bench" && value && MakeBench(value, 0, 0)) {
            options.bench = argv[++i];
        } else if (arg == "--speed" && value && ToReal(value, real) && real > 0) {
            options.speed = real;
            ++i;
        } else if (arg == "--seed" && value && ToCount(value, count) && count <= 0xFFFFFFFFL) {
            options.seed = static_cast<std::uint32_t>(count);
            ++i;
        } else if (arg == "--noise" && value && ToReal(value, real) && real <= 100) {
            options.noise = real;
            ++i;
        } else if (arg == "--control" && value) {
            options.control = argv[++i];
        } else if (arg == "--scenario" && value) {
            options.scenario = argv[++i];
        } else if (arg == "--link" && value) {
            options.link = argv[++i];
        } else if (arg == "--log" && value) {
            options.logFile = argv[++i];
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--split") {
            options.delivery = Delivery::Split;
        } else if (arg == "--bytewise") {
            options.delivery = Delivery::Bytewise;
        } else if (arg == "--garbage") {
            options.delivery = Delivery::Garbage;
        } else if (arg == "--hangup-after" && value && ToCount(value, count)) {
            options.hangUpAfter = static_cast<int>(count);
            ++i;
        } else if (arg == "--flood" && value && ToCount(value, count)) {
            options.flood = count;
            ++i;
        } else {
            error = arg == "--help" ? Usage() : BadArgument(arg, value) + Usage();
            return std::nullopt;
        }
    }
    if (station && !options.bench.empty()) {
        error = "cardsim: --station and --bench exclude each other\n" + Usage();
        return std::nullopt;
    }
    if (!options.bench.empty() && !(options.control.empty() && options.scenario.empty())) {
        error = "cardsim: --control and --scenario are for a station\n" + Usage();
        return std::nullopt;
    }
    return options;
}

}  // namespace cardsim
