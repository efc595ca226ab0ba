#pragma once

#include <string>

namespace banc {

// "12 s", "4 min 05 s".
std::string Duration(double seconds);

// "Bloc 12/20, reste 25 s": `secondsPerBlock` is the wall-clock time of one block.
std::string BlockProgress(int acquired, int total, double secondsPerBlock);

}  // namespace banc
