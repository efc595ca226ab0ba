#pragma once

#include <chrono>
#include <string>

#include "support/WaitUntil.h"

namespace tarvic::test {

// The card's end of a pseudo-terminal, scripted by a test: the code under test
// opens SlavePath() as its serial port.
class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    // The card's end, for a caller that waits on it with other descriptors.
    int MasterFd() const { return m_master; }

    void Send(const std::string& bytes);
    // Everything received until `until` appears in it or the time is up.
    std::string ReceiveUntil(const std::string& until,
                             std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));
    // Everything received within the time.
    std::string ReceiveFor(std::chrono::milliseconds duration);
    // Closes the card's end while the other end is open: a hang-up.
    void HangUp();

private:
    int m_master = -1;
    int m_keepOpen = -1;  // our own slave descriptor, so an absent client is no hang-up
    std::string m_slavePath;
};

}  // namespace tarvic::test
