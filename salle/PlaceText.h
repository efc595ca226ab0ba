#pragma once

#include <chrono>
#include <optional>
#include <string>

#include <tarvic/platform/Gdi.h>

#include "net/Payloads.h"
#include "salle/Room.h"

// What a tile says of its place, in French (Latin-1), and in which colour.
namespace salle {

// "banc", "station".
const char* KindText(net::PosteKind kind);
// "Libre", "Essai en cours", "Arr\xEAt\xE9", "Hors ligne".
const char* ActivityText(net::PosteActivity activity);
// The state's colour: green free, blue running, orange stopped, dark grey off line.
COLORREF ActivityColour(net::PosteActivity activity);
// A tile that stopped reporting.
inline constexpr COLORREF kSilentColour = RGB(158, 158, 158);
// "Inconnu" in this colour until the place's state is heard.
inline constexpr COLORREF kUnknownColour = RGB(97, 97, 97);

// "Silencieux depuis 12 s", "Silencieux depuis 2 min 05 s", "Silencieux depuis 1 h 02 min".
std::string SilenceText(std::chrono::seconds quiet);

// The state line: "Essai en cours", or the silence when there is one.
std::string StateLine(const Place& place, std::optional<std::chrono::seconds> silent);
// "niveaueau (pid), banc", "Varnok, station": the name, the mode, the kind.
std::string NameLine(const Place& place);
// The main measure's last value in its unit: "Niveau : 12,3 cm"; "" when none was heard.
std::string MeasureLine(const Place& place);
// A station's state line and its bytes in hexadecimal:
// "Carte : VARNOK V1.0, entr\xE9es 25 01, sorties 03"; "" when none was heard.
std::string StationLine(const Place& place);
// The last run: "Dernier essai 15:04:10, complet : valeur finale 50,0 %, d\xE9passement 10,0 %";
// "" when none was heard.
std::string RunLine(const Place& place);
// Where the last run went: "Gard\xE9 sous le n\xB0 12", or why not.
std::string KeptLine(const Place& place);

// A UTC time stamp of the wire, "2026-12-08T14:04:05.123Z", in local time as
// the history writes it, "2026-12-08 15:04:05"; "" for anything else.
std::string LocalTimeOf(const std::string& utc);

}  // namespace salle
