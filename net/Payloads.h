#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a bench or a station tells the room, and what the room may ask of it.
// Texts are Latin-1, as everywhere in the programs; the JSON on the wire is
// UTF-8 (PayloadJson converts both ways).
namespace net {

// Every payload carries it; a reader refuses another.
inline constexpr int kSchemaVersion = 1;

enum class PosteKind { Bench, Station };                       // "banc", "station"
enum class PosteActivity { Free, Running, Stopped, Offline };  // "libre", "essai", "arret", "hors-ligne"

// tarvic/<salle>/<poste>/etat, retained; the last will says Offline.
struct PosteState {
    PosteKind kind = PosteKind::Bench;
    std::string name;  // the bench's command-line name ("niveaueau") or the station's program ("Varnok")
    std::string mode;  // the bench's mode ("pid"); "" for a station
    PosteActivity activity = PosteActivity::Free;
    std::string card;     // the card's identification, "" when none was read
    std::string program;  // "tarvic-banc", "Varnok"
    std::string version;  // the program's version, "1.0.0"
    std::string user;     // the login, or the console's --etudiant
    std::string time;     // UTC ISO 8601 with milliseconds, "2026-12-08T15:04:05.123Z"
};

// One live value in its unit.
struct Measure {
    std::string name;  // "Niveau", "Consigne", "Commande"
    double value = 0;
    std::string unit;  // "cm", "%"
};

// tarvic/<salle>/<poste>/mesures, at most 2 a second.
struct Measures {
    std::vector<Measure> values;
    std::string time;
};

// tarvic/<salle>/<poste>/essai, at the end of every run that acquired a block.
struct RunEnd {
    long long number = 0;   // the run's number in the bench's own history, 0 when not kept there
    std::string startedAt;  // UTC ISO 8601 with milliseconds
    std::string time;       // when it ended, UTC ISO 8601 with milliseconds
    std::string user;
    std::string bench;
    std::string mode;
    std::string settings;     // the settings on one line, as the history's lists show them
    std::string outcome;      // "complet", "interrompu", "d\xE9" "faut de carte"
    std::string outcomeText;  // the fault's or the interruption's message, "" when complete
    std::optional<double> finalValue;
    std::optional<double> overshootPct;
    std::string measureUnit;
    std::string resultsJson;  // the run's JSON results (figures, identification, tuning), UTF-8, as kept
    std::string archive;      // the experiment archive's bytes (base64 on the wire): the curves
};

// tarvic/<salle>/<poste>/station, on change and at most once a second.
struct StationBits {
    std::vector<std::uint8_t> inputs;   // the station's input bytes, as the panel reads them
    std::vector<std::uint8_t> outputs;  // the output bytes, as the panel last sent them
    std::string stateText;              // the panel's state line
    std::string time;
};

// tarvic/<salle>/<poste>/ordre: all the network may ask. Anything else is refused.
struct Order {
    enum class Kind { Stop, Message };  // {"ordre": "arreter"}, {"ordre": "message", "texte": ...}
    Kind kind = Kind::Stop;
    std::string text;  // the message (Latin-1), "" for a stop
    std::string time;
};

}  // namespace net
