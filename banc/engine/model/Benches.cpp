#include "engine/model/Benches.h"

#include <tarvic/elements/AxeNum.h>
#include <tarvic/elements/DebitAir.h>
#include <tarvic/elements/IaPV.h>
#include <tarvic/elements/NiveauEau1.h>
#include <tarvic/elements/Synum.h>

#include <charconv>

namespace banc {
namespace {

template <class T>
std::unique_ptr<CEidElement> Make()
{
    return std::make_unique<T>();
}

// The percent benches offer the same four modes, numbered as the card numbers its controller kinds.
// The library leaves the on/off mode's generator at a step of 0 %, which shows
// nothing: it starts with the PID's step.
const std::vector<Mode> kAnalogModes = {{"pid", 1, &kPid, "GENE"},
                                        {"bo", 0, &kOpenLoop, "GENE1"},
                                        {"tor", 2, &kOnOff, "GENE", nullptr, 1},
                                        {"corz", 3, &kZCorrector, "GENE"}};

// The loop's curves as the card records them on the percent benches ('2', 'M' and '8' are the
// setpoint, the measurement and the error).
const Curve kPercentCommand{"commande_pct", "Commande", '7'};
const std::vector<Curve> kLoopTerms = {{"terme_p_pct", "Terme proportionnel", '>'},
                                       {"terme_i_pct", "Terme int\xE9gral", '3'},
                                       {"terme_d_pct", "Terme d\xE9riv\xE9", '9'},
                                       {"commande_bo_pct", "Commande en boucle ouverte", '4'}};
const Curve kSample{"echantillon_nb", "Echantillon", 'c'};
// Inputs 2 and 3 have percent codes; input 1 only its milliamps, turned into
// percent of the 4-20 mA span as the benches do: (mA - 4) x 100 / 16.
constexpr float kPercentPerMilliamp = 100.0f / 16.0f;
constexpr float kPercentAtZero = -4.0f * kPercentPerMilliamp;
const Curve kInput1Flow{"debit_pct", "D\xE9" "bit", ';', kPercentPerMilliamp, kPercentAtZero};
const Curve kInput2Level{"niveau1_pct", "Niveau 1", 'A'};
const Curve kInput3Level{"niveau2_pct", "Niveau 2", 'B'};
const Curve kInput2Temperature{"temperature_pct", "Temp\xE9rature", 'A'};

// On the motorised benches the command counts 1024 for the full command.
constexpr float kPercentOfFullCommand = 100.0f / 1024.0f;
const Curve kMotorCommand{"commande_pct", "Commande", '7', kPercentOfFullCommand};
// The quantities in their card units: the element's factors 101 and 100 give the user's.
constexpr int kSpeedFactor = 101, kPositionFactor = 100;
const std::vector<MeasureChoice> kMotorMeasures = {
    {"vitesse", "vitesse", 1, 0, {"", "", 'K', 1, 0, kSpeedFactor}, 0, 5, Quantity::Speed},
    {"position", "position", 2, 0, {"", "", 'G', 1, 0, kPositionFactor}, 0, 4, Quantity::Position},
    {"courant", "courant du moteur", 3, 0, {"", "", 'H'}, 0, 2, Quantity::Current}};
std::vector<Curve> MotorCurves(bool loadCurrent)
{
    std::vector<Curve> curves = {{"terme_p_pct", "Terme proportionnel", '4', kPercentOfFullCommand},
                                 {"terme_i_pct", "Terme int\xE9gral", '5', kPercentOfFullCommand},
                                 {"tension_v", "Tension", 'I'},
                                 {"courant_ma", "Courant", 'H'},
                                 {"position_lignes", "Position", 'G'},
                                 {"vitesse_fronts", "Vitesse", 'K'}};
    if (loadCurrent) curves.push_back({"courant_charge_ma", "Courant de la charge", 'M'});
    curves.push_back(kSample);
    return curves;
}
constexpr float kFullCommand = 1024.0f;
// The axis's sequence starts the card's move to the target position ("XPCV"):
// "XRCG" abandons it, so that the loop drives the motor.
constexpr int kAbandonMove = 1011;
constexpr float kPercent = 100.0f;

// One bench a block, its fields in the order of Bench: laid out by hand.
// clang-format off
const std::vector<Bench> kBenches = {
    {"niveaueau", "Niveau d'eau", 'N', Make<CNiveauEau>, kAnalogModes,
     {{"pompe", "pompe", 1}},
     {{"niveau1", "niveau 1", 2, 763, kInput2Level, 0, 6, Quantity::Percent},
      {"niveau2", "niveau 2", 3, 764, kInput3Level, 0, 7, Quantity::Percent},
      {"debit", "d\xE9" "bit de la pompe", 1, 759, kInput1Flow, 0, 5, Quantity::Percent}},
     '2', 'M', '8', kPercentCommand,
     {kLoopTerms[0], kLoopTerms[1], kLoopTerms[2], kLoopTerms[3], {"pompe_pct", "Pompe", '5'}, kInput1Flow,
      kInput2Level, kInput3Level, kSample},
     {{.name = "ci-pompe", .role = Role::Bench, .index = 1, .limit = Limit::Fixed, .min = 0, .max = kPercent,
       .help = "commande ind\xE9pendante de la pompe, %"}},
     {}, 0.0f, kPercent},
    {"debitair", "D\xE9" "bit d'air et temp\xE9rature", 'D', Make<CDebitAir>, kAnalogModes,
     {{"debit", "ventilateur", 1}, {"chauffage", "chauffage", 2}},
     {{"debit", "d\xE9" "bit", 1, 759, kInput1Flow, 2, 5, Quantity::Percent},
      {"temperature", "temp\xE9rature", 2, 758, kInput2Temperature, 0, 6, Quantity::Percent}},
     '2', 'M', '8', kPercentCommand,
     {kLoopTerms[0], kLoopTerms[1], kLoopTerms[2], kLoopTerms[3], {"ventilateur_pct", "Ventilateur", '5'},
      {"chauffage_pct", "Chauffage", '6'}, kInput1Flow, kInput2Temperature, kSample},
     {{.name = "ci-debit", .role = Role::Bench, .index = 1, .limit = Limit::Fixed, .min = 0, .max = kPercent,
       .help = "commande ind\xE9pendante du ventilateur, %"},
      {.name = "ci-temp", .role = Role::Bench, .index = 2, .limit = Limit::Fixed, .min = 0, .max = kPercent,
       .help = "commande ind\xE9pendante du chauffage, %"}},
     {}, 0.0f, kPercent},
    {"axnum", "Axe num\xE9rique", 'X', Make<CAxeNum>,
     {{"position", 5, &kPid, "GENE", "position"}, {"vitesse", 4, &kPid, "GENE", "vitesse"}, {"bo", 0, &kOpenLoop, "GENE1"}},
     {{"moteur", "moteur", 1}}, kMotorMeasures, '2', '>', '3', kMotorCommand, MotorCurves(false), {},
     {kAbandonMove}, -kFullCommand, kFullCommand},
    {"iapv", "Moteur et charge", 'I', Make<CIaPV>,
     {{"vitesse", 4, &kPid, "GENE", "vitesse"}, {"position", 5, &kPid, "GENE", "position"}, {"bo", 0, &kOpenLoop, "GENE1"}},
     {{"moteur", "moteur", 1}}, kMotorMeasures, '2', '>', '3', kMotorCommand, MotorCurves(true), {}, {},
     -kFullCommand, kFullCommand},
    {"synum", "Charge \xE9lectrique", 'S', Make<CSynum>,
     {{"vitesse", 4, &kPid, "GENE", "vitesse"}, {"position", 5, &kPid, "GENE", "position"}, {"pid", 1, &kPid, "GENE"},
      {"corz", 3, &kZCorrector, "GENE"}, {"bo", 0, &kOpenLoop, "GENE1"}},
     {{"moteur", "moteur", 1}}, kMotorMeasures, '2', '>', '3', kMotorCommand, MotorCurves(true),
     {{.name = "charge-e", .role = Role::Bench, .index = 1, .limit = Limit::Fixed, .min = 0, .max = kPercent,
       .help = "charge \xE9lectrique, %"}},
     {}, -kFullCommand, kFullCommand},
};
// clang-format on

template <class T>
const T* FindByName(const std::vector<T>& items, std::string_view name)
{
    for (const auto& item : items)
        if (name == item.name) return &item;
    return nullptr;
}

struct UnitName {
    int code;
    const char* unit;
    const char* suffix;
};
// The elements' unit codes (LitCParam 20 and 21); millimetres only on the axis.
constexpr UnitName kPositionUnits[] = {{1, "\xB0", "deg"}, {2, "tr", "tr"}, {3, "rad", "rad"}, {4, "mm", "mm"}};
constexpr UnitName kSpeedUnits[] = {
    {1, "tr/min", "trmin"}, {2, "rad/s", "rads"}, {3, "tr/s", "trs"}, {4, "mm/s", "mms"}};
constexpr int kPositionUnit = 20, kSpeedUnit = 21, kAxisOnlyUnit = 4;
// The card's ranges: speeds are 16-bit counts a window, positions 32-bit lines,
// currents 12-bit fields of about 2 counts a milliamp.
constexpr float kMaxSpeedCounts = 32767, kMaxPositionLines = 1e7f, kMaxCurrent = 1000;

UnitView CardUnit(CEidElement& bench, const UnitName (&names)[4], int unitParameter, int factor, float range,
                  const char* rawUnit, const char* rawSuffix)
{
    int code = 0;
    bench.LitCParam(unitParameter, code);
    float value = 1;
    bench.LitFParam(factor, value);
    UnitView view{rawUnit, rawSuffix, factor, -range * value, range * value};
    for (const auto& name : names)
        if (name.code == code && (code != kAxisOnlyUnit || bench.LitProcess() == 'X')) {
            view.unit = name.unit;
            view.suffix = name.suffix;
        }
    return view;
}

}  // namespace

UnitView QuantityUnit(Quantity quantity, CEidElement& bench)
{
    switch (quantity) {
    case Quantity::Percent: return {"%", "pct", 0, 0, kPercent};
    case Quantity::Speed:
        return CardUnit(bench, kSpeedUnits, kSpeedUnit, kSpeedFactor, kMaxSpeedCounts, "fronts/fen\xEAtre", "fronts");
    case Quantity::Position:
        return CardUnit(bench, kPositionUnits, kPositionUnit, kPositionFactor, kMaxPositionLines, "lignes", "lignes");
    case Quantity::Current: return {"mA", "ma", 0, -kMaxCurrent, kMaxCurrent};
    }
    return {};
}

const std::vector<Bench>& Benches() { return kBenches; }

const Bench* FindBench(std::string_view name) { return FindByName(kBenches, name); }

const Bench* FindBench(char letter)
{
    for (const auto& bench : kBenches)
        if (bench.letter == letter) return &bench;
    return nullptr;
}

const Mode* FindMode(const Bench& bench, std::string_view name)
{
    int number = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    const bool isNumber = error == std::errc() && end == name.data() + name.size();
    for (const auto& mode : bench.modes)
        if (isNumber ? mode.number == number : name == mode.name) return &mode;
    return nullptr;
}

const CommandChoice* FindCommand(const Bench& bench, std::string_view name) { return FindByName(bench.commands, name); }

const MeasureChoice* FindMeasure(const Bench& bench, std::string_view name) { return FindByName(bench.measures, name); }

}  // namespace banc
