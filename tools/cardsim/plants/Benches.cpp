#include "Benches.h"

#include <functional>

#include "AirFlowPlant.h"
#include "AnalogBench.h"
#include "AxisBench.h"
#include "ElectricalLoadBench.h"
#include "ProgrammableLoadBench.h"
#include "WaterLevelPlant.h"

namespace cardsim {
namespace {

using std::chrono::milliseconds;

// Air flow and temperature: the fan and the heater on 4-20 mA outputs 1 and 2,
// the flow and temperature sensors on inputs 1 and 2.
const AnalogBenchTraits kAirFlow{
    'D', milliseconds(50), 816, 3264, {{'D', 0}, {'T', 1}}, {{'D', 0}, {'T', 1}, {'2', 2}}, true, true, 0};
// Water level: the pump on 0-20 mA output 1, the flow and the two level sensors
// on inputs 1 to 3. Its recordings show the measurement 20 % up in row '='.
const AnalogBenchTraits kWaterLevel{
    'N', milliseconds(500), 0, 4080, {{'P', 0}}, {{'P', 0}, {'1', 1}, {'2', 2}}, false, false, 20};

struct Entry {
    std::string name;
    std::function<std::unique_ptr<Bench>(Noise)> make;
};

const std::vector<Entry>& Entries()
{
    static const std::vector<Entry> entries = {
        {"debitair",
         [](Noise noise) { return std::make_unique<AnalogBench>(kAirFlow, std::make_unique<AirFlowPlant>(), noise); }},
        {"niveaueau",
         [](Noise noise) {
             return std::make_unique<AnalogBench>(kWaterLevel, std::make_unique<WaterLevelPlant>(), noise);
         }},
        {"axnum", [](Noise noise) { return std::make_unique<AxisBench>(noise); }},
        {"iapv", [](Noise noise) { return std::make_unique<ProgrammableLoadBench>(noise); }},
        {"synum", [](Noise noise) { return std::make_unique<ElectricalLoadBench>(noise); }},
    };
    return entries;
}

}  // namespace

const std::vector<std::string>& BenchNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const auto& entry : Entries()) list.push_back(entry.name);
        return list;
    }();
    return names;
}

std::unique_ptr<Bench> MakeBench(const std::string& name, std::uint32_t seed, double noisePercent)
{
    for (const auto& entry : Entries())
        if (entry.name == name) return entry.make(Noise(seed, noisePercent));
    return nullptr;
}

}  // namespace cardsim
