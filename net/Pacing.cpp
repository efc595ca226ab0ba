#include "net/Pacing.h"

#include <utility>

namespace net {

bool RatePacing::Admit(PacingClock::time_point now)
{
    if (m_last && now - *m_last < m_interval) return false;
    m_last = now;
    return true;
}

ChangePacing::Step ChangePacing::Offer(const std::string& value, PacingClock::time_point now)
{
    if (m_sent == value) {
        m_held.reset();
        return Step::Same;
    }
    if (m_lastSent && now - *m_lastSent < m_interval) {
        m_held = value;
        return Step::Hold;
    }
    m_held.reset();
    m_sent = value;
    m_lastSent = now;
    return Step::Send;
}

std::optional<PacingClock::time_point> ChangePacing::Due() const
{
    if (!m_held) return std::nullopt;
    return *m_lastSent + m_interval;
}

bool ChangePacing::Release(PacingClock::time_point now)
{
    const std::optional<PacingClock::time_point> due = Due();
    if (!due || now < *due) return false;
    m_sent = std::move(m_held);
    m_held.reset();
    m_lastSent = now;
    return true;
}

}  // namespace net
