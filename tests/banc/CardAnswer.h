#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace banc::test {

// What a well-behaved card of the analog benches answers (a ScriptedCard's
// answer), with blocks whose every point holds `value` in every row.
std::optional<std::string> CardAnswer(const std::string& line, std::uint16_t value = 0);

// A block line of 2056 characters for block `number`, every cell `value`.
std::string BlockLine(int number, std::uint16_t value);

}  // namespace banc::test
