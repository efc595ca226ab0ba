#pragma once

#include <string>
#include <string_view>

// What the payloads' texts need beyond Latin1.h.
namespace net {

// Unlike FromUtf8, never refuses: a message typed with a typographic
// apostrophe or a euro sign is still read, each such character a '?'.
// `utf8` must be well-formed (the JSON reader checks it).
std::string Utf8ToLatin1(std::string_view utf8);

// RFC 4648 with padding.
std::string Base64Encode(std::string_view bytes);
// false, and `bytes` untouched, when the text is not base64.
bool Base64Decode(std::string_view text, std::string& bytes);

}  // namespace net
