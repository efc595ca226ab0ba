#pragma once

#include <string>
#include <string_view>

namespace banc {

// The text of a description in the display markup, for a terminal: the
// style escapes removed, the letters of a symbol-face run spelled out
// ("\f1a" is alpha). Latin-1 in, Latin-1 out.
std::string PlainText(std::string_view markup);

}  // namespace banc
