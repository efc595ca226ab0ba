#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/analysis/ProcessModel.h"

namespace banc::analysis {

enum class ControllerType { P, PI, PID };

enum class Rule {
    ZieglerNichols,  // reaction curve
    CohenCoon,
    Chr0,   // Chien-Hrones-Reswick, setpoint response, no overshoot
    Chr20,  // the same with 20 % overshoot
    Broida,
    Imc,                  // lambda tuning
    Simc,                 // Skogestad
    RelayZieglerNichols,  // from the relay test's ultimate gain and period
    TyreusLuyben,
};

// A controller in the ideal (standard) form u = Kc (e + 1/Ti ∫e dt + Td de/dt),
// in the units of the model it was computed from.
struct IdealPid {
    ControllerType type = ControllerType::PI;
    double kc = 0;
    double ti = 0;  // s; 0 for no integral action
    double td = 0;  // s; 0 for no derivative action
};

struct Suggestion {
    Rule rule;
    IdealPid pid;
};

struct TuningOptions {
    std::optional<double> lambda;  // IMC's closed-loop time constant, s; default max(0.8 θ, 0.1 τ)
    std::optional<double> tauC;    // SIMC's, s; default θ
};

// Every rule's P, PI and PID that applies to the model (a rule left out where
// it has no formula for the model's kind), in the model's units. The model's
// gain must be positive: a reverse-acting process is refused by the caller.
std::vector<Suggestion> SuggestSettings(const ProcessModel& model, const TuningOptions& options = {});
// Ziegler-Nichols' and Tyreus-Luyben's settings from an ultimate gain and period (s).
std::vector<Suggestion> SuggestFromUltimate(double ku, double pu);

// "zn", "cc", "chr0", "chr20", "broida", "imc", "simc", "zn_relais", "tl": the option's and the JSON's names.
const char* RuleKey(Rule rule);
// French, Latin-1: "Ziegler-Nichols (courbe de r\xE9" "action)".
const char* RuleLabel(Rule rule);
std::optional<Rule> FindRule(std::string_view key);
// "P", "PI", "PID".
const char* ControllerTypeName(ControllerType type);
std::optional<ControllerType> FindControllerType(std::string_view name);

}  // namespace banc::analysis
