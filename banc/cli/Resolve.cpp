#include "cli/Resolve.h"

#include <tarvic/platform/Text.h>

#include <algorithm>

#include "engine/analysis/Tuning.h"

namespace banc::cli {
namespace {

const ParameterDef* FindParameter(const Bench& bench, const std::string& name)
{
    for (const auto* table : {&CommonParameters(), &bench.parameters})
        for (const auto& def : *table)
            if (name == def.name) return &def;
    return nullptr;
}

std::string ResolveChoices(const Request& request, const Bench& bench, Settings& settings)
{
    if (!request.command.empty() && !(settings.command = FindCommand(bench, request.command)))
        return tarvic::Format("Commande inconnue pour le banc %s : %s (%s).", bench.name, request.command.c_str(),
                              NameList(bench.commands).c_str());
    if (!request.measure.empty() && !(settings.measure = FindMeasure(bench, request.measure)))
        return tarvic::Format("Mesure inconnue pour le banc %s : %s (%s).", bench.name, request.measure.c_str(),
                              NameList(bench.measures).c_str());
    if (!request.signal.empty()) {
        const SignalKind* signal = FindSignal(request.signal);
        if (!signal)
            return tarvic::Format("Signal inconnu : %s (%s).", request.signal.c_str(), NameList(SignalKinds()).c_str());
        settings.signal = signal->kind;
    }
    return {};
}

bool IsRelayRule(analysis::Rule rule)
{
    return rule == analysis::Rule::RelayZieglerNichols || rule == analysis::Rule::TyreusLuyben;
}

// A sweep is a run of its own, in open loop.
std::string ResolveSweep(const Request& request)
{
    if (!request.bode)
        return request.fmin || request.fmax || request.points ? "--fmin, --fmax et --points ne valent qu'avec --bode."
                                                              : "";
    if (request.identify || request.relay || !request.rule.empty() || request.predict)
        return "--bode est un essai \xE0 lui seul : sans --identifier, --relais, --regle ni --predire.";
    if (request.duration) return "--duree ne vaut pas avec --bode : chaque fr\xE9quence dure ce qu'il lui faut.";
    if (!request.archive.empty()) return "--archive garde un enregistrement dans le temps, pas un balayage (--bode).";
    return {};
}

// What the lab work's options ask of the run, checked against each other and the mode.
std::string ResolveLabWork(const Request& request, const Settings& settings)
{
    const ControllerKind& controller = *settings.mode->controller;
    // The command line checked the name: a rule given is one the tuning knows.
    const bool rule = !request.rule.empty();
    const analysis::Rule chosen =
        rule ? analysis::FindRule(request.rule).value_or(analysis::Rule::Simc) : analysis::Rule::Simc;
    if (request.identify && request.relay) return "--identifier et --relais sont deux essais : un seul \xE0 la fois.";
    if (request.identify && controller.closedLoop)
        return tarvic::Format("--identifier fait un \xE9" "chelon en boucle ouverte : --mode bo, pas %s.",
                              settings.mode->name);
    if (request.settling && !request.identify && !request.relay && !request.bode)
        return "--stabilisation ne vaut qu'avec --identifier, --relais ou --bode.";
    if (!request.controller.empty() && !rule) return "--correcteur ne vaut qu'avec --regle.";
    if (rule && request.relay != IsRelayRule(chosen))
        return request.relay
                   ? "Apr\xE8s un essai de relais, --regle zn_relais ou tl."
                   : tarvic::Format("--regle %s suit un essai de relais : ajoutez --relais.", request.rule.c_str());
    if (rule && !request.identify && !request.relay && !controller.hasActions)
        return tarvic::Format("--regle r\xE8gle un PID : --identifier en boucle ouverte, ou un mode \xE0 PID (pas %s).",
                              settings.mode->name);
    if (request.lambda && !(request.identify || (rule && chosen == analysis::Rule::Imc)))
        return "--lambda ne vaut qu'avec --identifier ou --regle imc.";
    if (request.tauC && !(request.identify || (rule && chosen == analysis::Rule::Simc)))
        return "--tau-c ne vaut qu'avec --identifier ou --regle simc.";
    if (request.predict && (request.identify || request.relay || !controller.hasActions))
        return "--predire pr\xE9" "dit un essai en boucle ferm\xE9" "e avec PID, sans --identifier ni --relais.";
    if (rule && !request.identify) {
        for (const auto& [name, value] : request.values)
            if (name == "kp" || name == "ti" || name == "td" || name == "kf" || name == "ks")
                return tarvic::Format("--regle donne --%s : l'un ou l'autre.", name.c_str());
        if (!request.actions.empty()) return "--regle donne --actions : l'un ou l'autre.";
    }
    return {};
}

}  // namespace

std::string Resolve(const Request& request, Settings& settings)
{
    if (request.bench.empty()) return tarvic::Format("Choisissez le banc : --banc %s.", NameList(Benches()).c_str());
    const Bench* bench = FindBench(request.bench);
    if (!bench) return tarvic::Format("Banc inconnu : %s (%s).", request.bench.c_str(), NameList(Benches()).c_str());
    settings.bench = bench;
    // A sweep is in open loop unless told otherwise.
    const auto openLoop = std::find_if(bench->modes.begin(), bench->modes.end(),
                                       [](const Mode& mode) { return !mode.controller->closedLoop; });
    settings.mode = !request.mode.empty()                            ? FindMode(*bench, request.mode)
                    : request.bode && openLoop != bench->modes.end() ? &*openLoop
                                                                     : &bench->modes.front();
    if (!settings.mode)
        return tarvic::Format("Mode inconnu pour le banc %s : %s (%s).", bench->name, request.mode.c_str(),
                              NameList(bench->modes).c_str());
    if (std::string error = ResolveChoices(request, *bench, settings); !error.empty()) return error;
    for (const auto& [name, value] : request.values) {
        const ParameterDef* def = FindParameter(*bench, name);
        if (!def) return tarvic::Format("Le param\xE8tre --%s n'existe pas sur le banc %s.", name.c_str(), bench->name);
        settings.values.emplace_back(def, value);
    }
    if (!request.actions.empty()) settings.actions = request.actions;
    settings.duration = request.duration;
    settings.factory = request.factory;
    if (!request.port.empty() && (request.speed || request.noise || request.seed))
        return "--vitesse, --bruit et --graine ne valent que pour la carte simul\xE9" "e, pas avec --port.";
    if (std::string error = ResolveSweep(request); !error.empty()) return error;
    return ResolveLabWork(request, settings);
}

}  // namespace banc::cli
