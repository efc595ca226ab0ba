#pragma once

#include <cstdio>
#include <string_view>

namespace banc::cli {

// Texts are Latin-1 inside the program; a terminal takes the locale's encoding.
void Write(std::FILE* stream, std::string_view latin1);
bool IsTerminal(std::FILE* stream);

}  // namespace banc::cli
