#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include <tarvic/platform/Event.h>

namespace banc {

// How long the card may stay quiet while a reply is awaited (counted from the
// line sent; a reply still arriving when it is up, a long one at a low speed,
// gets that long again), and how many times a line is sent before the card
// counts as silent.
struct LinkTiming {
    std::chrono::milliseconds reply{2000};
    int attempts = 3;
};

// The controlling application's side of the serial link: one line out, then
// its one reply back. The card answers every line with exactly one line, so
// a missing reply is a time-out: the line is sent again a bounded number of
// times. Lines that cannot answer the request (a late reply to an earlier
// attempt, noise) are dropped.
class CardLink {
public:
    enum class Status {
        Replied,  // `line` holds the reply
        Silent,   // no reply to any attempt
        Lost,     // the port is gone (hung up, unplugged)
        Aborted,  // Abort() was called
    };
    struct Reply {
        Status status;
        std::string line;
    };

    explicit CardLink(std::string port, LinkTiming timing = LinkTiming());
    ~CardLink();
    CardLink(const CardLink&) = delete;
    CardLink& operator=(const CardLink&) = delete;

    // Starts the serial thread on the port; false when the port cannot be opened.
    bool Open();
    bool IsOpen() const;
    // Why Open failed: the errno the serial thread kept from its attempt, 0 while open.
    int OpenError() const;
    const std::string& Port() const { return m_port; }

    // prefix '!' for an order (answered "!OK" or "!Erreur"), '?' for a request
    // (answered by a line holding its mnemonic, or "!Erreur").
    Reply Exchange(char prefix, const std::string& text);
    // With its own time-out and attempts (a last order to a card that went silent).
    Reply Exchange(char prefix, const std::string& text, const LinkTiming& timing);
    const LinkTiming& GetTiming() const { return m_timing; }
    // From any thread: the exchange under way and every later one give up at once.
    void Abort();
    // Exchanges are carried again after an Abort.
    void Resume();

    // Bytes carried so far, both ways, line ends included.
    std::uint64_t BytesCarried() const { return m_bytes; }

    // True when `line` can be the reply to the line prefix + text.
    static bool Answers(char prefix, const std::string& text, const std::string& line);

private:
    class Reader;
    enum class Wait { Line, TimedOut, Lost, Aborted };
    // When a reply no longer counts as coming: pushed back by every byte received.
    struct ReplyClock {
        std::chrono::milliseconds quiet;  // how long the card may stay quiet
        std::chrono::steady_clock::time_point deadline;
        std::uint64_t sent;  // bytes received when the line went
        std::uint64_t seen;  // bytes received at the last look
    };
    ReplyClock StartClock(std::chrono::milliseconds quiet) const;
    void ExtendWhileArriving(ReplyClock& clock) const;
    Wait WaitLine(ReplyClock& clock, std::string& line);
    bool TakeLine(std::string& line);
    void DropLines();
    void Deliver(std::string line);

    std::string m_port;
    LinkTiming m_timing;
    std::unique_ptr<Reader> m_reader;
    std::mutex m_mutex;
    std::deque<std::string> m_lines;
    CEvent m_evLine;  // set while m_lines holds a line
    CEvent m_evAbort;
    std::atomic<std::uint64_t> m_bytes{0};
};

}  // namespace banc
