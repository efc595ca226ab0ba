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

namespace banc::test {

// A slow line: each reply goes in pieces of `bytes`, `pause` apart.
struct ReplyPace {
    std::size_t bytes = 0;  // 0: whole
    std::chrono::milliseconds pause{0};
};

// A card played by a test at the far end of a pseudo-terminal: every line it
// receives (without its CR LF) goes to the answer, whose reply, when it gives
// one, goes back with CR LF.
class ScriptedCard {
public:
    using Answer = std::function<std::optional<std::string>(const std::string& line)>;
    using Pace = ReplyPace;

    explicit ScriptedCard(Answer answer, Pace pace = {});
    ~ScriptedCard();
    ScriptedCard(const ScriptedCard&) = delete;
    ScriptedCard& operator=(const ScriptedCard&) = delete;

    const std::string& Path() const { return m_peer.SlavePath(); }
    std::vector<std::string> Lines() const;
    // The lines received from the first one equal to `from` on.
    std::vector<std::string> LinesFrom(const std::string& from) const;
    void HangUp();

private:
    void Serve();
    void Reply(const std::string& bytes);

    tarvic::test::PtyPeer m_peer;
    Answer m_answer;
    Pace m_pace;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::thread m_thread;
};

// What a well-behaved card of the analog benches answers, with blocks whose
// every point holds `value` in every row.
std::optional<std::string> CardAnswer(const std::string& line, std::uint16_t value = 0);

// A block line of 2056 characters for block `number`, every cell `value`.
std::string BlockLine(int number, std::uint16_t value);

}  // namespace banc::test
