#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/PtyPeer.h"

namespace tarvic::test {

// A card on the far end of a pseudo-terminal that answers, on a thread of its
// own, every line it receives with what its script returns for it ("" for
// silence). It keeps the lines it received, without their CR LF.
class ScriptedCard {
public:
    // The reply to the `index`-th line received (0 for the first), CR LF included.
    using Script = std::function<std::string(const std::string& line, int index)>;

    ScriptedCard();
    explicit ScriptedCard(Script script);
    ~ScriptedCard();
    ScriptedCard(const ScriptedCard&) = delete;
    ScriptedCard& operator=(const ScriptedCard&) = delete;

    // A card that answers every panel command: "!VER" + version, "!LEL" + inputs,
    // "!ARU 00", and "!OK" to every order.
    static Script Obliging(const std::string& version = " CARTE 1.0", const std::string& inputs = "0000000000");

    const std::string& Path() const { return m_peer.SlavePath(); }
    std::vector<std::string> Lines() const;
    bool WaitLines(std::size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) const;
    // Sends bytes of its own accord (noise, a reply nobody asked for).
    void Send(const std::string& bytes) { m_peer.Send(bytes); }
    // Stops answering and closes its end: the other end sees a hang-up.
    void HangUp();

private:
    void Run();

    Script m_script;
    PtyPeer m_peer;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    int m_stop = -1;  // eventfd that ends the thread's wait
    std::thread m_thread;
};

}  // namespace tarvic::test
