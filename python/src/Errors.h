#pragma once

#include <stdexcept>
#include <string>

#include <tarvic/platform/Text.h>

namespace banc::python {

// What a caller did wrong (an unknown name, a value out of its limits, a
// closed bench): ValueError in Python. Messages are kept in UTF-8.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& latin1) : std::runtime_error(tarvic::Latin1ToUtf8(latin1)) {}
};

// A file or a port the system refused: OSError in Python, with its errno
// (0 when the engine gives none).
class SystemError : public std::runtime_error {
public:
    SystemError(int error, const std::string& latin1) : std::runtime_error(tarvic::Latin1ToUtf8(latin1)), m_error(error)
    {
    }
    int Error() const { return m_error; }

private:
    int m_error;
};

}  // namespace banc::python
