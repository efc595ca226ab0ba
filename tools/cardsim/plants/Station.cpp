#include "Station.h"

namespace cardsim {
namespace {

constexpr IoBit Bit(int byte, int bit) { return {byte, bit}; }

// Brakmor: a stamping station. Cylinders X, Y, Z, the gripper turning between
// vertical and horizontal (R+ / R-), the gripper closing (P+ / P-), the
// stamping press M; M_SERVICE puts the station in service and starts its motor.
const MachineTable kBrakmor{
    {
        {"X", Bit(0, 6), Bit(0, 5), Bit(2, 3), Bit(2, 2), 1.0, false},
        {"Y", Bit(0, 2), Bit(0, 1), Bit(2, 7), Bit(2, 6), 0.8, false},
        {"Z", Bit(0, 3), Bit(0, 4), Bit(2, 5), Bit(2, 4), 0.8, false},
        {"rotation de la pince", Bit(1, 0), Bit(0, 7), Bit(2, 1), Bit(2, 0), 0.5, false},
        {"pince", Bit(1, 1), Bit(1, 2), Bit(3, 7), std::nullopt, 0.3, false},
        {"presse de matri\xE7" "age", Bit(1, 4), Bit(1, 3), Bit(3, 5), Bit(3, 4), 1.5, false},
        {"mise en service", Bit(0, 0), std::nullopt, Bit(3, 2), std::nullopt, 0, false},
        {"moteur", Bit(0, 0), std::nullopt, Bit(3, 3), std::nullopt, 1.0, false},
    },
    {{"porte", Bit(0, 7)},
     {"dcy", Bit(0, 6)},
     {"m_auto", Bit(0, 5)},
     {"m_manu", Bit(0, 4)},
     {"v+", Bit(0, 3)},
     {"v-", Bit(0, 2)},
     {"piece_pince", Bit(0, 1)},
     {"sy", Bit(1, 7)},
     {"sz", Bit(1, 6)},
     {"sx", Bit(1, 5)},
     {"sr", Bit(1, 4)},
     {"sp", Bit(1, 3)},
     {"p_charg", Bit(1, 2)},
     {"p_matricage", Bit(1, 1)},
     {"sm", Bit(3, 1)}},
    {Bit(1, 0)},
    {},
};

// Varnok: an arm turning right and left, a translation up and down and
// forward and back, a press, a gripper. It powers up away from its origin,
// which it must regain in two steps: gripper open, translation back and up
// ("POM : OP TR TH"), then arm right and press up ("POM: BD PH").
const MachineTable kVarnok{
    {
        {"bras", Bit(0, 7), Bit(0, 6), Bit(0, 1), Bit(0, 0), 1.5, false},
        {"translation verticale", Bit(0, 4), Bit(0, 5), Bit(0, 2), Bit(0, 3), 1.0, false},
        {"translation horizontale", Bit(0, 3), Bit(0, 2), Bit(0, 5), Bit(0, 4), 1.2, true},
        {"presse", Bit(0, 0), Bit(0, 1), Bit(0, 6), Bit(0, 7), 2.0, false},
        {"pince", Bit(1, 7), Bit(1, 6), Bit(1, 1), Bit(1, 0), 0.5, true},
    },
    {{"dcy", Bit(1, 3)}, {"pp", Bit(1, 2)}, {"cr1", Bit(1, 4)}, {"cr2", Bit(1, 5)}},
    {Bit(1, 7), Bit(1, 6)},
    {{Bit(1, 0), Bit(0, 4), Bit(0, 2)}, {Bit(0, 1), Bit(0, 6)}},
};

// Quillon: four actuators, 1 and 4 single acting with one sensor each (L1,
// a1; L4, a4), 2 and 3 double acting up and down (L2H, L2B and a2h, a2b;
// L3H, L3B and a3h, a3b). Its outputs B, C, D and M have no sensor.
const MachineTable kQuillon{
    {
        {"actionneur 1", Bit(0, 4), std::nullopt, Bit(0, 4), std::nullopt, 1.0, false},
        {"actionneur 2", Bit(0, 6), Bit(0, 5), Bit(0, 6), Bit(0, 5), 1.0, false},
        {"actionneur 3", Bit(1, 0), Bit(0, 7), Bit(1, 0), Bit(0, 7), 1.0, false},
        {"actionneur 4", Bit(1, 1), std::nullopt, Bit(1, 1), std::nullopt, 1.0, false},
    },
    {{"e1", Bit(0, 0)},
     {"e2", Bit(0, 1)},
     {"e3", Bit(0, 2)},
     {"e4", Bit(0, 3)},
     {"ap1", Bit(1, 2)},
     {"ap2", Bit(1, 3)},
     {"ap3", Bit(1, 4)},
     {"ap4", Bit(1, 5)},
     {"po", Bit(1, 7)},
     {"sb", Bit(2, 0)},
     {"sh", Bit(2, 1)}},
    {Bit(1, 6)},
    {},
};

// Torvane: three single-acting cylinders, each with its sensors in (ai) and
// out (ae) (L0, L1, L2); CM and CD have no sensor.
const MachineTable kTorvane{
    {
        {"v\xE9rin 0", Bit(0, 2), std::nullopt, Bit(0, 0), Bit(0, 3), 0.8, false},
        {"v\xE9rin 1", Bit(0, 3), std::nullopt, Bit(0, 1), Bit(0, 4), 0.8, false},
        {"v\xE9rin 2", Bit(0, 4), std::nullopt, Bit(0, 2), Bit(0, 5), 0.8, false},
    },
    {{"ex12", Bit(0, 7)},
     {"ex13", Bit(1, 0)},
     {"ex14", Bit(1, 1)},
     {"ex15", Bit(1, 2)},
     {"ex16", Bit(1, 3)},
     {"ex17", Bit(1, 4)}},
    {Bit(0, 6)},
    {},
};

}  // namespace

const std::vector<Station>& Stations()
{
    static const std::vector<Station> stations = {
        {"brakmor", 4, 3, false, kBrakmor},
        {"varnok", 2, 2, true, kVarnok},
        {"quillon", 3, 2, false, kQuillon},
        {"torvane", 2, 1, false, kTorvane},
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
