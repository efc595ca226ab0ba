#pragma once

#include <optional>
#include <string>

// tarvic/<salle>/<poste>/<canal>
namespace net {

enum class Channel { State, Measures, Run, Station, Order };  // etat, mesures, essai, station, ordre

struct Poste {
    std::string salle;  // the room, "" is refused
    std::string poste;  // the PC's place, by default the host name
};

// A room or place name may not hold '/', '+', '#' nor control characters,
// and is at most 64 bytes; "" when acceptable, else why not (Latin-1).
std::string CheckName(const std::string& name);
std::string Topic(const Poste& poste, Channel channel);
// "tarvic/<salle>/#", every place of a room; "tarvic/+/#" for every room.
std::string RoomFilter(const std::string& salle);

struct ParsedTopic {
    Poste poste;
    Channel channel;
};
// nullopt for a topic that is not one of ours.
std::optional<ParsedTopic> ParseTopic(const std::string& topic);

}  // namespace net
