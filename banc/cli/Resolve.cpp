#include "cli/Resolve.h"

#include <tarvic/platform/Text.h>

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

}  // namespace

std::string Resolve(const Request& request, Settings& settings)
{
    if (request.bench.empty())
        return tarvic::Format("Choisissez le banc : --banc %s.", NameList(Benches()).c_str());
    const Bench* bench = FindBench(request.bench);
    if (!bench)
        return tarvic::Format("Banc inconnu : %s (%s).", request.bench.c_str(), NameList(Benches()).c_str());
    settings.bench = bench;
    settings.mode = request.mode.empty() ? &bench->modes.front() : FindMode(*bench, request.mode);
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
    return {};
}

}  // namespace banc::cli
