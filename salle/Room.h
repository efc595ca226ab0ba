#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "net/Payloads.h"
#include "net/Topics.h"

namespace salle {

using Clock = std::chrono::steady_clock;

// One value of a measure, as heard.
struct TrendPoint {
    Clock::time_point at;
    double value;
};
// One measure's values over the last kTrendSpan.
struct Trend {
    std::string name;  // "Niveau"
    std::string unit;  // "cm"
    std::deque<TrendPoint> points;
};

// What the room view knows of one bench or station, from what it published.
struct Place {
    net::Poste poste;
    std::optional<net::PosteState> state;
    Clock::time_point heard{};  // the last payload read from it
    std::optional<net::Measures> measures;
    // Each measure heard, in the order of the payloads.
    std::vector<Trend> trends;
    std::optional<net::RunEnd> run;
    long long runKept = 0;  // the last run's number in the room's history, 0 none
    std::string runNotice;  // why the last run was not kept, "" when it was (Latin-1)
    std::optional<net::StationBits> station;
    std::string unreadable;  // the last payload refused: its channel and why (Latin-1), "" none
};

// How long a tile's trend and the details' live plot reach back.
inline constexpr std::chrono::minutes kTrendSpan{5};
// A place flooding the room is kept within bounds: its measures at 2 a
// second fit, anything beyond drops its oldest points; more measures than
// a bench has are not followed.
inline constexpr std::size_t kTrendPoints = 2 * 60 * 5, kMaxTrends = 8;

// The measurement the bench is about, the one its tile shows: the first
// that is neither the setpoint nor the command, else the first; null when none.
const Trend* MainTrend(const Place& place);

// Every place heard, by room then place. Time is given by the caller, so
// that silence is worked out the same in a test as on the clock.
class Room {
public:
    using Key = std::pair<std::string, std::string>;  // room, place

    explicit Room(std::chrono::seconds silence);

    Place& Heard(const net::Poste& poste, const net::PosteState& state, Clock::time_point now);
    Place& Heard(const net::Poste& poste, const net::Measures& measures, Clock::time_point now);
    Place& Heard(const net::Poste& poste, const net::RunEnd& run, Clock::time_point now);
    Place& Heard(const net::Poste& poste, const net::StationBits& bits, Clock::time_point now);
    // A payload that could not be read: shown, never used; the place is not
    // taken as heard from, since what it said is not known.
    Place& Unreadable(const net::Poste& poste, const std::string& channel, const std::string& why);

    const std::map<Key, Place>& Places() const { return m_places; }
    const Place* Find(const net::Poste& poste) const;

    // How long a running bench has been quiet beyond the silence allowed;
    // none for a place that is not expected to report: a free or stopped
    // bench and a station publish on change only, and one gone off line says so.
    std::optional<std::chrono::seconds> SilentFor(const Place& place, Clock::time_point now) const;

private:
    Place& At(const net::Poste& poste);
    Place& HeardFrom(const net::Poste& poste, Clock::time_point now);  // At, stamped as heard now

    std::chrono::seconds m_silence;
    std::map<Key, Place> m_places;
};

}  // namespace salle
