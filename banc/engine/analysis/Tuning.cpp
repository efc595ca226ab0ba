#include "engine/analysis/Tuning.h"

#include <algorithm>
#include <cmath>

namespace banc::analysis {
namespace {

// Notation of the formulas below: K the process gain, τ its time constant, θ
// its delay, r = θ / τ, and a = K θ / τ the reaction curve's intercept (for an
// integrator of slope K per unit of command: a = K θ). Every result is in the
// ideal form u = Kc (e + 1/Ti ∫e dt + Td de/dt).

// A first order with delay, what the reaction-curve rules are written for.
struct FirstOrder {
    double gain, tau, delay;
};

IdealPid P(double kc) { return {ControllerType::P, kc, 0, 0}; }
IdealPid PI(double kc, double ti) { return {ControllerType::PI, kc, ti, 0}; }
IdealPid PID(double kc, double ti, double td) { return {ControllerType::PID, kc, ti, td}; }

// A Strejc model's equivalent first order with delay is the one its tangent at
// the inflection draws, as the lessons read it off the curve: the delay up to
// where the tangent leaves the start, the time constant from there to where it
// reaches the final value. For n lags of τ the inflection is at (n - 1) τ.
FirstOrder EquivalentFirstOrder(const ProcessModel& model)
{
    if (model.kind != ModelKind::Strejc || model.order <= 1) return {model.gain, model.timeConstant, model.delay};
    const double tau = model.timeConstant;
    const double x = model.order - 1;
    const double inflection = x * tau;
    // The slope of 1 - e^-x Σ x^k/k! is e^-x x^(n-1) / (n-1)! / τ.
    const double slope = std::exp(-x + (model.order - 1) * std::log(x) - std::lgamma(model.order)) / tau;
    const double atInflection = model.StepResponse(model.delay + inflection, 1.0) / model.gain;
    return {model.gain, 1.0 / slope, model.delay + inflection - atInflection / slope};
}

bool Positive(double value) { return value > 0 && std::isfinite(value); }

void Add(std::vector<Suggestion>& out, Rule rule, std::initializer_list<IdealPid> pids)
{
    for (const IdealPid& pid : pids) out.push_back({rule, pid});
}

// Ziegler and Nichols (1942), reaction curve:
// P Kc = 1/a; PI Kc = 0.9/a, Ti = 3.33 θ; PID Kc = 1.2/a, Ti = 2 θ, Td = θ/2.
void ZieglerNichols(std::vector<Suggestion>& out, double a, double delay)
{
    Add(out, Rule::ZieglerNichols, {P(1 / a), PI(0.9 / a, delay / 0.3), PID(1.2 / a, 2 * delay, 0.5 * delay)});
}

// Cohen and Coon (1953):
// P   Kc = (τ / Kθ)(1 + r/3);
// PI  Kc = (τ / Kθ)(0.9 + r/12),  Ti = θ (30 + 3r) / (9 + 20r);
// PID Kc = (τ / Kθ)(4/3 + r/4),   Ti = θ (32 + 6r) / (13 + 8r),  Td = 4θ / (11 + 2r).
void CohenCoon(std::vector<Suggestion>& out, const FirstOrder& m)
{
    const double r = m.delay / m.tau;
    const double base = m.tau / (m.gain * m.delay);
    Add(out, Rule::CohenCoon,
        {P(base * (1 + r / 3)), PI(base * (0.9 + r / 12), m.delay * (30 + 3 * r) / (9 + 20 * r)),
         PID(base * (4.0 / 3 + r / 4), m.delay * (32 + 6 * r) / (13 + 8 * r), 4 * m.delay / (11 + 2 * r))});
}

// Chien, Hrones and Reswick (1952), setpoint response:
//        0 % overshoot                        20 % overshoot
// P      Kc = 0.3/a                           Kc = 0.7/a
// PI     Kc = 0.35/a, Ti = 1.2 τ              Kc = 0.6/a, Ti = τ
// PID    Kc = 0.6/a, Ti = τ, Td = 0.5 θ       Kc = 0.95/a, Ti = 1.4 τ, Td = 0.47 θ
void ChienHronesReswick(std::vector<Suggestion>& out, const FirstOrder& m, double a)
{
    Add(out, Rule::Chr0, {P(0.3 / a), PI(0.35 / a, 1.2 * m.tau), PID(0.6 / a, m.tau, 0.5 * m.delay)});
    Add(out, Rule::Chr20, {P(0.7 / a), PI(0.6 / a, m.tau), PID(0.95 / a, 1.4 * m.tau, 0.47 * m.delay)});
}

// Broïda's table, in the mixed (ideal) form:
// P   Kc = 0.8 τ / Kθ;
// PI  Kc = 0.8 τ / Kθ,  Ti = τ;
// PID Kc = (τ + 0.4 θ) / 1.2 Kθ,  Ti = τ + 0.4 θ,  Td = τθ / (2.5 τ + θ).
// Its choice of controller by τ/θ: above 20 on/off, 10 to 20 P, 5 to 10 PI,
// 2 to 5 PID, under 2 none of them (a dead-time compensator). Each range gets
// the controller the table names for it and the richer ones; under 2 the rule
// gives nothing.
void Broida(std::vector<Suggestion>& out, const FirstOrder& m)
{
    const double ratio = m.tau / m.delay;
    if (ratio < 2) return;
    const double kc = 0.8 * m.tau / (m.gain * m.delay);
    if (ratio >= 10) Add(out, Rule::Broida, {P(kc)});
    if (ratio >= 5) Add(out, Rule::Broida, {PI(kc, m.tau)});
    Add(out, Rule::Broida,
        {PID((m.tau + 0.4 * m.delay) / (1.2 * m.gain * m.delay), m.tau + 0.4 * m.delay,
             m.tau * m.delay / (2.5 * m.tau + m.delay))});
}

// IMC, lambda tuning (Rivera, Morari and Skogestad 1986), first order with delay:
// PI  Kc = τ / K(λ + θ),  Ti = τ;
// PID Kc = (τ + θ/2) / K(λ + θ/2),  Ti = τ + θ/2,  Td = τθ / (2τ + θ).
void ImcFirstOrder(std::vector<Suggestion>& out, const FirstOrder& m, double lambda)
{
    if (!Positive(lambda)) return;  // a closed-loop time constant, never 0 or less
    Add(out, Rule::Imc,
        {PI(m.tau / (m.gain * (lambda + m.delay)), m.tau),
         PID((m.tau + m.delay / 2) / (m.gain * (lambda + m.delay / 2)), m.tau + m.delay / 2,
             m.tau * m.delay / (2 * m.tau + m.delay))});
}

// IMC for an integrator with delay (Chien and Fruehauf 1990):
// PI  Kc = (2λ + θ) / K(λ + θ)²,  Ti = 2λ + θ;
// PID Kc = (2λ + θ) / K(λ + θ/2)²,  Ti = 2λ + θ,  Td = (λθ + θ²/4) / (2λ + θ).
void ImcIntegrating(std::vector<Suggestion>& out, const ProcessModel& m, double lambda)
{
    const double theta = m.delay;
    if (!Positive(lambda)) return;  // a closed-loop time constant, never 0 or less
    const double ti = 2 * lambda + theta;
    Add(out, Rule::Imc,
        {PI(ti / (m.gain * (lambda + theta) * (lambda + theta)), ti),
         PID(ti / (m.gain * (lambda + theta / 2) * (lambda + theta / 2)), ti,
             (lambda * theta + theta * theta / 4) / ti)});
}

// SIMC (Skogestad 2003), PI:
// first order with delay  Kc = τ / K(τc + θ),  Ti = min(τ, 4 (τc + θ));
// integrator with delay   Kc = 1 / K(τc + θ),  Ti = 4 (τc + θ).
// Its PID needs a second lag, which these models do not have.
void Simc(std::vector<Suggestion>& out, const ProcessModel& model, const FirstOrder& m, double tauC)
{
    const double closed = tauC + m.delay;
    if (!(tauC >= 0) || !Positive(closed)) return;  // τc = 0 is the fastest SIMC allows
    if (model.kind == ModelKind::Integrating)
        Add(out, Rule::Simc, {PI(1 / (m.gain * closed), 4 * closed)});
    else
        Add(out, Rule::Simc, {PI(m.tau / (m.gain * closed), std::min(m.tau, 4 * closed))});
}

struct RuleName {
    Rule rule;
    const char* key;
    const char* label;
};
constexpr RuleName kRuleNames[] = {
    {Rule::ZieglerNichols, "zn", "Ziegler-Nichols (courbe de r\xE9" "action)"},
    {Rule::CohenCoon, "cc", "Cohen-Coon"},
    {Rule::Chr0, "chr0", "Chien-Hrones-Reswick (consigne, 0 % de d\xE9passement)"},
    {Rule::Chr20, "chr20", "Chien-Hrones-Reswick (consigne, 20 % de d\xE9passement)"},
    {Rule::Broida, "broida", "Bro\xEF" "da"},
    {Rule::Imc, "imc", "IMC (lambda)"},
    {Rule::Simc, "simc", "SIMC (Skogestad)"},
    {Rule::RelayZieglerNichols, "zn_relais", "Ziegler-Nichols (gain et p\xE9riode critiques)"},
    {Rule::TyreusLuyben, "tl", "Tyreus-Luyben"},
};

struct TypeName {
    ControllerType type;
    const char* name;
};
constexpr TypeName kTypeNames[] = {{ControllerType::P, "P"}, {ControllerType::PI, "PI"}, {ControllerType::PID, "PID"}};

}  // namespace

std::vector<Suggestion> SuggestSettings(const ProcessModel& model, const TuningOptions& options)
{
    std::vector<Suggestion> out;
    if (!Positive(model.gain)) return out;
    if (model.kind == ModelKind::Integrating) {
        if (Positive(model.delay)) ZieglerNichols(out, model.gain * model.delay, model.delay);
        const FirstOrder m{model.gain, 0, model.delay};
        ImcIntegrating(out, model, options.lambda.value_or(0.8 * model.delay));
        Simc(out, model, m, options.tauC.value_or(model.delay));
        return out;
    }
    const FirstOrder m = EquivalentFirstOrder(model);
    if (!Positive(m.tau)) return out;
    if (Positive(m.delay)) {
        const double a = m.gain * m.delay / m.tau;
        ZieglerNichols(out, a, m.delay);
        CohenCoon(out, m);
        ChienHronesReswick(out, m, a);
        Broida(out, m);
    }
    ImcFirstOrder(out, m, options.lambda.value_or(std::max(0.8 * m.delay, 0.1 * m.tau)));
    Simc(out, model, m, options.tauC.value_or(m.delay));
    return out;
}

std::vector<Suggestion> SuggestFromUltimate(double ku, double pu)
{
    std::vector<Suggestion> out;
    if (!Positive(ku) || !Positive(pu)) return out;
    // Ziegler and Nichols (1942), ultimate sensitivity:
    // P Kc = 0.5 Ku; PI Kc = 0.45 Ku, Ti = Pu / 1.2; PID Kc = 0.6 Ku, Ti = Pu / 2, Td = Pu / 8.
    Add(out, Rule::RelayZieglerNichols, {P(0.5 * ku), PI(0.45 * ku, pu / 1.2), PID(0.6 * ku, pu / 2, pu / 8)});
    // Tyreus and Luyben (1992): PI Kc = Ku / 3.2, Ti = 2.2 Pu; PID Kc = Ku / 2.2, Ti = 2.2 Pu, Td = Pu / 6.3.
    Add(out, Rule::TyreusLuyben, {PI(ku / 3.2, 2.2 * pu), PID(ku / 2.2, 2.2 * pu, pu / 6.3)});
    return out;
}

const char* RuleKey(Rule rule)
{
    for (const RuleName& name : kRuleNames)
        if (name.rule == rule) return name.key;
    return "";
}

const char* RuleLabel(Rule rule)
{
    for (const RuleName& name : kRuleNames)
        if (name.rule == rule) return name.label;
    return "";
}

std::optional<Rule> FindRule(std::string_view key)
{
    for (const RuleName& name : kRuleNames)
        if (key == name.key) return name.rule;
    return std::nullopt;
}

const char* ControllerTypeName(ControllerType type)
{
    for (const TypeName& name : kTypeNames)
        if (name.type == type) return name.name;
    return "";
}

std::optional<ControllerType> FindControllerType(std::string_view name)
{
    for (const TypeName& entry : kTypeNames)
        if (name == entry.name) return entry.type;
    return std::nullopt;
}

}  // namespace banc::analysis
