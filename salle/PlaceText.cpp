#include "salle/PlaceText.h"

#include <tarvic/platform/Text.h>

#include <cstdio>
#include <ctime>

#include "engine/outputs/FigureText.h"

namespace salle {

const char* KindText(net::PosteKind kind) { return kind == net::PosteKind::Station ? "station" : "banc"; }

const char* ActivityText(net::PosteActivity activity)
{
    switch (activity) {
    case net::PosteActivity::Free: return "Libre";
    case net::PosteActivity::Running: return "Essai en cours";
    case net::PosteActivity::Stopped: return "Arr\xEAt\xE9";
    case net::PosteActivity::Offline: return "Hors ligne";
    }
    return "";
}

COLORREF ActivityColour(net::PosteActivity activity)
{
    switch (activity) {
    case net::PosteActivity::Free: return RGB(46, 125, 50);
    case net::PosteActivity::Running: return RGB(21, 101, 192);
    case net::PosteActivity::Stopped: return RGB(230, 81, 0);
    case net::PosteActivity::Offline: return RGB(66, 66, 66);
    }
    return kUnknownColour;
}

std::string SilenceText(std::chrono::seconds quiet)
{
    const long long s = quiet.count();
    if (s < 60) return tarvic::Format("Silencieux depuis %lld s", s);
    if (s < 3600) return tarvic::Format("Silencieux depuis %lld min %02lld s", s / 60, s % 60);
    return tarvic::Format("Silencieux depuis %lld h %02lld min", s / 3600, s % 3600 / 60);
}

std::string StateLine(const Place& place, std::optional<std::chrono::seconds> silent)
{
    if (silent) return SilenceText(*silent);
    return place.state ? ActivityText(place.state->activity) : "Inconnu";
}

std::string NameLine(const Place& place)
{
    if (!place.state) return "?";
    const net::PosteState& state = *place.state;
    const std::string mode = state.mode.empty() ? "" : " (" + state.mode + ")";
    return state.name + mode + ", " + KindText(state.kind);
}

std::string MeasureLine(const Place& place)
{
    const Trend* trend = MainTrend(place);
    if (!trend || !place.measures) return {};
    // Only from the last payload: a value it left out is not known now.
    for (const net::Measure& measure : place.measures->values)
        if (measure.name == trend->name) {
            const std::string unit = measure.unit.empty() ? "" : " " + measure.unit;
            return measure.name + " : " + banc::DecimalText(measure.value, 1) + unit;
        }
    return {};
}

std::string StationLine(const Place& place)
{
    if (!place.station) return {};
    const auto hex = [](const std::vector<std::uint8_t>& bytes) {
        std::string text;
        // A station has a few bytes: a tile shows no more than a line's worth.
        constexpr std::size_t kShown = 8;
        for (std::size_t i = 0; i < bytes.size() && i < kShown; ++i) text += tarvic::Format(" %02X", bytes[i]);
        return bytes.size() > kShown ? text + "..." : text;
    };
    const net::StationBits& bits = *place.station;
    const std::string text = bits.stateText.empty() ? "" : bits.stateText + ", ";
    return text + "entr\xE9" "es" + hex(bits.inputs) + ", sorties" + hex(bits.outputs);
}

std::string RunLine(const Place& place)
{
    if (!place.run) return {};
    const net::RunEnd& run = *place.run;
    const std::string local = LocalTimeOf(run.time);
    const std::string at = local.size() == 19 ? " " + local.substr(11) : "";
    std::string line = "Dernier essai" + at + ", " + run.outcome;
    const std::string unit = run.measureUnit.empty() ? "" : " " + run.measureUnit;
    std::string figures;
    if (run.finalValue) figures += "valeur finale " + banc::DecimalText(*run.finalValue, 1) + unit;
    if (run.overshootPct)
        figures +=
            (figures.empty() ? "" : ", ") + std::string("d\xE9passement ") + banc::PercentText(*run.overshootPct);
    return figures.empty() ? line : line + " : " + figures;
}

std::string KeptLine(const Place& place)
{
    if (!place.run) return {};
    if (place.runKept > 0) return tarvic::Format("Gard\xE9 sous le n\xB0 %lld", place.runKept);
    return place.runNotice;
}

std::string LocalTimeOf(const std::string& utc)
{
    std::tm parts{};
    int milliseconds = 0;
    char zone = 0;
    int read = 0;
    if (std::sscanf(utc.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%3d%c%n", &parts.tm_year, &parts.tm_mon, &parts.tm_mday,
                    &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &milliseconds, &zone, &read) != 8 ||
        zone != 'Z' || static_cast<std::size_t>(read) != utc.size())
        return {};
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    const std::time_t at = ::timegm(&parts);
    if (at == static_cast<std::time_t>(-1)) return {};
    std::tm local{};
    if (!::localtime_r(&at, &local)) return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace salle
