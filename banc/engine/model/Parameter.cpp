#include "engine/model/Parameter.h"

namespace banc {

namespace {

constexpr float kNoMin = -std::numeric_limits<float>::max();
constexpr float kNoMax = std::numeric_limits<float>::max();

}  // namespace

const std::vector<ParameterDef>& CommonParameters()
{
    // Where the element's own limits admit a value that its command field
    // cannot carry (K1 = 64 is 65536 in a 16-bit field: sent as 0; a Z
    // coefficient of 32 wraps to -32), the range stops short of the wrap.
    static const std::vector<ParameterDef> parameters = {
        {"kp", Role::Controller, 10, Limit::Element, 0.0f, 63.999f, "gain proportionnel K1 (PID)"},
        {"ti", Role::Controller, 11, Limit::Element, kNoMin, kNoMax, "temps int\xE9gral, s (PID)"},
        {"td", Role::Controller, 12, Limit::Element, kNoMin, kNoMax, "temps d\xE9riv\xE9, s (PID)"},
        {"kf", Role::Controller, 13, Limit::Element, kNoMin, kNoMax, "filtre de la d\xE9riv\xE9" "e alpha (PID)"},
        {"ks", Role::Controller, 14, Limit::Element, kNoMin, kNoMax, "gain de sortie K2 (PID)"},
        {"rbn", Role::Controller, 15, Limit::Fixed, -100.0f, 100.0f, "seuil n\xE9gatif, % (TOR)"},
        {"rbp", Role::Controller, 16, Limit::Fixed, -100.0f, 100.0f, "seuil positif, % (TOR)"},
        {"coefc0", Role::Controller, 17, Limit::Element, -32.0f, 31.999f, "coefficient C0 (correcteur Z)"},
        {"coefc1", Role::Controller, 18, Limit::Element, -32.0f, 31.999f, "coefficient C1 (correcteur Z)"},
        {"coefc2", Role::Controller, 19, Limit::Element, -32.0f, 31.999f, "coefficient C2 (correcteur Z)"},
        {"coefc3", Role::Controller, 20, Limit::Element, -32.0f, 31.999f, "coefficient C3 (correcteur Z)"},
        {"coefb0", Role::Controller, 21, Limit::Element, -32.0f, 31.999f, "coefficient B1 (correcteur Z)"},
        {"coefb1", Role::Controller, 22, Limit::Element, -32.0f, 31.999f, "coefficient B2 (correcteur Z)"},
        {"coefb2", Role::Controller, 23, Limit::Element, -32.0f, 31.999f, "coefficient B3 (correcteur Z)"},
        {"te", Role::Controller, 1000, Limit::Fixed, 10.0f, 5000.0f, "p\xE9riode d'\xE9" "chantillonnage, ms", true,
         true},
        {"echelon", Role::Generator, 0, Limit::Level, kNoMin, kNoMax, "valeur de l'\xE9" "chelon, finale ou centrale"},
        {"rampe", Role::Generator, 1, Limit::Fixed, 0.001f, 1000.0f, "pente de la rampe, vitesse du trap\xE8ze, /s"},
        {"frequence", Role::Generator, 2, Limit::Fixed, 0.001f, 10.0f, "fr\xE9quence du sinus, Hz"},
        {"retard", Role::Generator, 3, Limit::Fixed, 0.0f, 65.0f, "retard avant le signal, s"},
        {"repos", Role::Generator, 4, Limit::Level, kNoMin, kNoMax, "valeur de repos (de d\xE9part)"},
        {"amplitude", Role::Generator, 5, Limit::Level, kNoMin, kNoMax, "amplitude du sinus"},
        {"acceleration", Role::Generator, 6, Limit::Fixed, 0.001f, 1000.0f, "acc\xE9l\xE9ration du trap\xE8ze, /s\xB2"},
        {"tem", Role::Recording, 1001, Limit::Fixed, 10.0f, 60000.0f, "p\xE9riode d'enregistrement, ms"},
    };
    return parameters;
}

const std::vector<SignalKind>& SignalKinds()
{
    static const std::vector<SignalKind> kinds = {{"echelon", 0}, {"rampe", 1}, {"sinus", 2}, {"trapeze", 6}};
    return kinds;
}

const SignalKind* FindSignal(std::string_view name)
{
    for (const auto& signal : SignalKinds())
        if (name == signal.name) return &signal;
    return nullptr;
}

}  // namespace banc
