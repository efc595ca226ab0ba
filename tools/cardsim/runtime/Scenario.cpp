#include "Scenario.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace cardsim {

std::optional<Scenario> ParseScenario(const std::string& text, std::string& error)
{
    Scenario scenario;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        char* end = nullptr;
        const double seconds = std::strtod(line.c_str() + start, &end);
        const auto order = line.find_first_not_of(" \t", static_cast<std::size_t>(end - line.c_str()));
        if (end == line.c_str() + start || !std::isfinite(seconds) || seconds < 0 || seconds > 1e6 ||
            order == std::string::npos || order == static_cast<std::size_t>(end - line.c_str())) {
            error = "ligne " + std::to_string(number) + " : " + line;
            return std::nullopt;
        }
        scenario.emplace_back(std::chrono::duration_cast<SimDuration>(std::chrono::duration<double>(seconds)),
                              line.substr(order));
    }
    return scenario;
}

}  // namespace cardsim
