#pragma once

#include <chrono>
#include <string>

namespace net {

// Whether something accepts a TCP connection on the host's port within
// `longest`; the connection is closed at once.
bool Answers(const std::string& host, int port, std::chrono::milliseconds longest);

}  // namespace net
