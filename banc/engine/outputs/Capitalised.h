#pragma once

#include <string>

namespace banc {

// The engine's labels are lower-case phrases: "niveau 1" becomes "Niveau 1".
inline std::string Capitalised(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

}  // namespace banc
