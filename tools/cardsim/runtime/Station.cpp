#include "Station.h"

namespace cardsim {

const std::vector<Station>& Stations()
{
    static const std::vector<Station> stations = {
        {"brakmor", 4, 3, false},
        {"varnok", 2, 2, true},
        {"quillon", 3, 2, false},
        {"torvane", 2, 1, false},
    };
    return stations;
}

const Station* FindStation(const std::string& name)
{
    for (const auto& station : Stations())
        if (station.name == name) return &station;
    return nullptr;
}

}  // namespace cardsim
