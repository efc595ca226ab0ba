#pragma once

#include <string>
#include <string_view>

// The programs hold their texts in Latin-1; the wire carries UTF-8.
namespace net {

std::string Latin1ToUtf8(std::string_view latin1);
// `utf8` must be well-formed (the JSON reader checks it); a character beyond
// Latin-1 becomes '?'.
std::string Utf8ToLatin1(std::string_view utf8);

// RFC 4648 with padding.
std::string Base64Encode(std::string_view bytes);
// false, and `bytes` untouched, when the text is not base64.
bool Base64Decode(std::string_view text, std::string& bytes);

}  // namespace net
