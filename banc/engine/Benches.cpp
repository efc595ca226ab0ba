#include "engine/Benches.h"

#include <tarvic/elements/DebitAir.h>
#include <tarvic/elements/NiveauEau1.h>

#include <charconv>

namespace banc {
namespace {

template <class T>
std::unique_ptr<CEidElement> Make()
{
    return std::make_unique<T>();
}

// The percent benches offer the same four modes, numbered as the card numbers its controller kinds.
const std::vector<Mode> kAnalogModes = {
    {1, &kPid, "GENE"}, {0, &kOpenLoop, "GENE1"}, {2, &kOnOff, "GENE"}, {3, &kZCorrector, "GENE"}};

// The loop's curves, as the card records them on the percent benches.
const Curve kSetpoint{"consigne_pct", "Consigne", '2'};
const Curve kLoopMeasure{"mesure_pct", "Mesure", 'M'};
const Curve kCommand{"commande_pct", "Commande", '7'};
const Curve kError{"erreur_pct", "Erreur", '8'};
const Curve kProportional{"terme_p_pct", "Terme proportionnel", '>'};
const Curve kIntegral{"terme_i_pct", "Terme int\xE9gral", '3'};
const Curve kDerivative{"terme_d_pct", "Terme d\xE9riv\xE9", '9'};
const Curve kOpenLoopCommand{"commande_bo_pct", "Commande en boucle ouverte", '4'};
const Curve kSample{"echantillon_nb", "Echantillon", 'c'};
// Inputs 2 and 3 have percent codes; input 1 only its milliamps, turned into
// percent of the 4-20 mA span as the benches do: (mA - 4) x 100 / 16.
constexpr float kPercentPerMilliamp = 100.0f / 16.0f;
constexpr float kPercentAtZero = -4.0f * kPercentPerMilliamp;
const Curve kInput1Flow{"debit_pct", "D\xE9" "bit", ';', kPercentPerMilliamp, kPercentAtZero};

constexpr float kPercent = 100.0f;

const std::vector<Bench> kBenches = {
    {"niveaueau",
     "Niveau d'eau",
     'N',
     Make<CNiveauEau>,
     kAnalogModes,
     {{"pompe", "pompe", 1}},
     {{"niveau1", "niveau 1", 2, 763, {"niveau1_pct", "Niveau 1", 'A'}, 0, 6},
      {"niveau2", "niveau 2", 3, 764, {"niveau2_pct", "Niveau 2", 'B'}, 0, 7},
      {"debit", "d\xE9" "bit de la pompe", 1, 759, kInput1Flow, 0, 5}},
     kSetpoint,
     kLoopMeasure,
     kCommand,
     {kError, kProportional, kIntegral, kDerivative, kOpenLoopCommand, {"pompe_pct", "Pompe", '5'}, kInput1Flow,
      {"niveau1_pct", "Niveau 1", 'A'}, {"niveau2_pct", "Niveau 2", 'B'}, kSample},
     {{.name = "ci-pompe", .role = Role::Bench, .index = 1, .limit = Limit::Level, .help = "commande ind\xE9pendante de la pompe, %"}},
     0.0f,
     kPercent,
     "%"},
    {"debitair",
     "D\xE9" "bit d'air et temp\xE9rature",
     'D',
     Make<CDebitAir>,
     kAnalogModes,
     {{"debit", "ventilateur", 1}, {"chauffage", "chauffage", 2}},
     {{"debit", "d\xE9" "bit", 1, 759, kInput1Flow, 2, 5},
      {"temperature", "temp\xE9rature", 2, 758, {"temperature_pct", "Temp\xE9rature", 'A'}, 0, 6}},
     kSetpoint,
     kLoopMeasure,
     kCommand,
     {kError, kProportional, kIntegral, kDerivative, kOpenLoopCommand, {"ventilateur_pct", "Ventilateur", '5'},
      {"chauffage_pct", "Chauffage", '6'}, kInput1Flow, {"temperature_pct", "Temp\xE9rature", 'A'}, kSample},
     {{.name = "ci-debit", .role = Role::Bench, .index = 1, .limit = Limit::Level, .help = "commande ind\xE9pendante du ventilateur, %"},
      {.name = "ci-temp", .role = Role::Bench, .index = 2, .limit = Limit::Level, .help = "commande ind\xE9pendante du chauffage, %"}},
     0.0f,
     kPercent,
     "%"},
};

template <class T>
const T* FindByName(const std::vector<T>& items, std::string_view name)
{
    for (const auto& item : items)
        if (name == item.name) return &item;
    return nullptr;
}

}  // namespace

const std::vector<Bench>& Benches() { return kBenches; }

const Bench* FindBench(std::string_view name) { return FindByName(kBenches, name); }

const Mode* FindMode(const Bench& bench, std::string_view name)
{
    int number = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    const bool isNumber = error == std::errc() && end == name.data() + name.size();
    for (const auto& mode : bench.modes)
        if (isNumber ? mode.number == number : name == mode.controller->name) return &mode;
    return nullptr;
}

const CommandChoice* FindCommand(const Bench& bench, std::string_view name) { return FindByName(bench.commands, name); }

const MeasureChoice* FindMeasure(const Bench& bench, std::string_view name) { return FindByName(bench.measures, name); }

Curve MeasureCurve(const Bench& bench, const Mode& mode, const MeasureChoice& measure)
{
    if (mode.controller->closedLoop) return bench.loopMeasure;
    // The open-loop block wires no feedback: the card's measurement reads 0 then.
    Curve watched = measure.curve;
    watched.column = bench.loopMeasure.column;
    watched.label = bench.loopMeasure.label;
    return watched;
}

std::vector<Curve> Columns(const Bench& bench, const Mode& mode, const MeasureChoice& measure)
{
    std::vector<Curve> columns = {bench.setpoint, MeasureCurve(bench, mode, measure), bench.command};
    columns.insert(columns.end(), bench.others.begin(), bench.others.end());
    return columns;
}

}  // namespace banc
