#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Bench.h"

namespace cardsim {

// The benches the card can run, by the name of the command line.
const std::vector<std::string>& BenchNames();
// The bench of that name with its measurement noise, or null.
std::unique_ptr<Bench> MakeBench(const std::string& name, std::uint32_t seed, double noisePercent);

}  // namespace cardsim
