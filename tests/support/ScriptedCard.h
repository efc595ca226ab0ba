#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/PtyPeer.h"

namespace tarvic::test {

// A slow line: each reply goes in pieces of `bytes`, `pause` apart.
struct ReplyPace {
    std::size_t bytes = 0;  // 0: whole
    std::chrono::milliseconds pause{0};
};

// A card played by a test at the far end of a pseudo-terminal: every line it
// receives (without its CR LF) goes, on a thread of the card's own, to the
// answer, whose reply, when it gives one, goes back with CR LF. It keeps the
// lines it received.
class ScriptedCard {
public:
    using Answer = std::function<std::optional<std::string>(const std::string& line)>;
    using Pace = ReplyPace;

    // An obliging card.
    ScriptedCard();
    explicit ScriptedCard(Answer answer, Pace pace = {});
    ~ScriptedCard();
    ScriptedCard(const ScriptedCard&) = delete;
    ScriptedCard& operator=(const ScriptedCard&) = delete;

    // A card that answers every panel command: "!VER" + version, "!LEL" + inputs,
    // "!ARU 00" (any other request's mnemonic and " 00"), and "!OK" to every order.
    static Answer Obliging(const std::string& version = " CARTE 1.0", const std::string& inputs = "0000000000");

    const std::string& Path() const { return m_peer.SlavePath(); }
    std::vector<std::string> Lines() const;
    // The lines received from the first one equal to `from` on.
    std::vector<std::string> LinesFrom(const std::string& from) const;
    bool WaitLines(std::size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) const;
    // Sends bytes of its own accord (noise, a reply nobody asked for).
    void Send(const std::string& bytes) { m_peer.Send(bytes); }
    // Stops answering and closes its end: the other end sees a hang-up. May
    // be called from an answer.
    void HangUp();

private:
    void Run();
    void Reply(const std::string& bytes);
    // Waits `pause` or until the card is stopped; false once stopped.
    bool Pause(std::chrono::milliseconds pause);

    Answer m_answer;
    Pace m_pace;
    PtyPeer m_peer;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    int m_stop = -1;  // eventfd that ends the thread's wait
    std::atomic<bool> m_hungUp{false};
    std::thread m_thread;
};

}  // namespace tarvic::test
