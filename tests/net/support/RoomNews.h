#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "net/support/MessageLog.h"

namespace tarvic::test {

// A payload with its time stamps ("horodatage", "debut") as "T", once their
// shape (UTC ISO 8601 with milliseconds) is checked; one of another shape stays as it is.
std::string Stamped(const std::string& payload);

// What a room heard, as "channel payload" (stamped). A place tells its state
// and bits again on (re)connecting: a message the same as the last of its
// topic is not news.
std::vector<std::string> News(const MessageLog& log);
// The same, once there are at least `count` (within a generous limit).
std::vector<std::string> News(const MessageLog& log, std::size_t count);

}  // namespace tarvic::test
