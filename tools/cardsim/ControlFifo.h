#pragma once

#include <string>
#include <vector>

namespace cardsim {

// The operator's control line of a station card: a named pipe that any
// program writes orders to, one a line ("echo 'appui dcy' > PATH"). The pipe
// is made when missing and removed again at the end if it was made here.
class ControlFifo {
public:
    ControlFifo() = default;
    ~ControlFifo();
    ControlFifo(const ControlFifo&) = delete;
    ControlFifo& operator=(const ControlFifo&) = delete;

    // False with `error` set when the path cannot serve.
    bool Open(const std::string& path, std::string& error);
    int Fd() const { return m_fd; }
    // The whole lines that arrived.
    std::vector<std::string> ReadOrders();

private:
    int m_fd = -1;
    std::string m_made;
    std::string m_pending;
};

}  // namespace cardsim
