#pragma once

#include <optional>
#include <string>

// The programs' texts are Latin-1; topics and JSON on the wire are UTF-8.
namespace net {

std::string ToUtf8(const std::string& latin1);
// nullopt when the text is not UTF-8 or holds a character beyond Latin-1.
std::optional<std::string> FromUtf8(const std::string& utf8);

}  // namespace net
