#include "salle/Room.h"

#include <algorithm>

namespace salle {

const Trend* MainTrend(const Place& place)
{
    for (const Trend& trend : place.trends)
        if (trend.name != "Consigne" && trend.name != "Commande") return &trend;
    return place.trends.empty() ? nullptr : &place.trends.front();
}

Room::Room(std::chrono::seconds silence) : m_silence(silence) {}

Place& Room::At(const net::Poste& poste)
{
    Place& place = m_places[{poste.salle, poste.poste}];
    place.poste = poste;
    return place;
}

Place& Room::HeardFrom(const net::Poste& poste, Clock::time_point now)
{
    Place& place = At(poste);
    place.heard = now;
    return place;
}

Place& Room::Heard(const net::Poste& poste, const net::PosteState& state, Clock::time_point now)
{
    Place& place = HeardFrom(poste, now);
    place.state = state;
    return place;
}

Place& Room::Heard(const net::Poste& poste, const net::Measures& measures, Clock::time_point now)
{
    Place& place = HeardFrom(poste, now);
    place.measures = measures;
    for (const net::Measure& measure : measures.values) {
        auto trend = std::find_if(place.trends.begin(), place.trends.end(),
                                  [&](const Trend& known) { return known.name == measure.name; });
        if (trend == place.trends.end()) {
            if (place.trends.size() == kMaxTrends) continue;
            trend = place.trends.insert(trend, Trend{measure.name, measure.unit, {}});
        }
        trend->unit = measure.unit;
        trend->points.push_back({now, measure.value});
    }
    for (Trend& trend : place.trends)
        while (!trend.points.empty() &&
               (now - trend.points.front().at > kTrendSpan || trend.points.size() > kTrendPoints))
            trend.points.pop_front();
    return place;
}

Place& Room::Heard(const net::Poste& poste, const net::RunEnd& run, Clock::time_point now)
{
    Place& place = HeardFrom(poste, now);
    place.run = run;
    place.runKept = 0;
    place.runNotice.clear();
    return place;
}

Place& Room::Heard(const net::Poste& poste, const net::StationBits& bits, Clock::time_point now)
{
    Place& place = HeardFrom(poste, now);
    place.station = bits;
    return place;
}

Place& Room::Unreadable(const net::Poste& poste, const std::string& channel, const std::string& why)
{
    Place& place = At(poste);
    place.unreadable = channel + " : " + why;
    return place;
}

const Place* Room::Find(const net::Poste& poste) const
{
    const auto found = m_places.find({poste.salle, poste.poste});
    return found == m_places.end() ? nullptr : &found->second;
}

std::optional<std::chrono::seconds> Room::SilentFor(const Place& place, Clock::time_point now) const
{
    if (!place.state || place.state->kind != net::PosteKind::Bench ||
        place.state->activity != net::PosteActivity::Running)
        return std::nullopt;
    if (now - place.heard <= m_silence) return std::nullopt;
    return std::chrono::duration_cast<std::chrono::seconds>(now - place.heard);
}

}  // namespace salle
