#pragma once

#include <chrono>
#include <optional>
#include <string>

// How often a place speaks to the room, decided from the times given, so
// that the rules are tested without waiting.
namespace net {

using PacingClock = std::chrono::steady_clock;

// At most one message per interval: one offered sooner after the last one let through is dropped.
class RatePacing {
public:
    explicit RatePacing(PacingClock::duration interval) : m_interval(interval) {}
    bool Admit(PacingClock::time_point now);

private:
    PacingClock::duration m_interval;
    std::optional<PacingClock::time_point> m_last;
};

// On change only, at most once per interval: a change offered sooner is held,
// the latest held one going out when the interval is up.
class ChangePacing {
public:
    explicit ChangePacing(PacingClock::duration interval) : m_interval(interval) {}

    enum class Step {
        Send,  // now; it becomes the last one sent
        Hold,  // later, at Due(), unless a newer change replaces it
        Same,  // nothing changed since the last one sent; a change held is given up
    };
    // `value` compares the offers: equal values are the same state.
    Step Offer(const std::string& value, PacingClock::time_point now);
    // When the change held is to go; nullopt when none is held.
    std::optional<PacingClock::time_point> Due() const;
    // True, the held change counted as sent, when one is held and due at `now`.
    bool Release(PacingClock::time_point now);

private:
    PacingClock::duration m_interval;
    std::optional<PacingClock::time_point> m_lastSent;
    std::optional<std::string> m_sent;
    std::optional<std::string> m_held;
};

}  // namespace net
