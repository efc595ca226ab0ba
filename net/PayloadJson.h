#pragma once

#include <cstddef>
#include <string>

#include "Payloads.h"

// The payloads as JSON (UTF-8) and back. Readers never trust the wire: a
// payload too large, not JSON, of another schema, with a field missing or of
// the wrong type, or with a field they do not know (orders only) is refused
// with the reason in French (Latin-1), and nothing of it is used.
namespace net {

// Beyond it a payload is refused unread (a run's archive is a few tens of KiB).
inline constexpr std::size_t kMaxPayloadBytes = 4 * 1024 * 1024;
// A message order's text, in characters: a few lines for a window, not a file.
inline constexpr std::size_t kMaxMessageChars = 1000;

std::string ToJson(const PosteState& state);
std::string ToJson(const Measures& measures);
std::string ToJson(const RunEnd& run);
std::string ToJson(const StationBits& bits);
std::string ToJson(const Order& order);

// "" when read, else why not.
std::string FromJson(const std::string& payload, PosteState& state);
std::string FromJson(const std::string& payload, Measures& measures);
std::string FromJson(const std::string& payload, RunEnd& run);
std::string FromJson(const std::string& payload, StationBits& bits);
std::string FromJson(const std::string& payload, Order& order);

// Now, UTC ISO 8601 with milliseconds: "2026-12-08T15:04:05.123Z".
std::string UtcNow();

}  // namespace net
