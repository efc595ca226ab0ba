#include "engine/outputs/SweepJson.h"

#include <nlohmann/json.hpp>

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/Text.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "engine/outputs/FigureText.h"
#include "engine/outputs/Results.h"
#include "engine/outputs/SafeFile.h"

namespace banc {
namespace {

using Json = nlohmann::ordered_json;

Json Number(double value) { return std::isfinite(value) ? Json(value) : Json(); }
Json Number(const std::optional<double>& value) { return value ? Number(*value) : Json(); }

Json PointJson(const analysis::BodePoint& point)
{
    return {{"frequence_hz", Number(point.frequencyHz)},
            {"pulsation_rad_s", Number(2 * std::numbers::pi * point.frequencyHz)},
            {"gain", Number(point.gain)},
            {"gain_db", Number(point.gainDb)},
            {"phase_deg", Number(point.phaseDeg)},
            {"distorsion_pct", Number(point.distortionPct)},
            {"fiable", point.trusted},
            {"remarque", tarvic::Latin1ToUtf8(point.flag)}};
}

const char* KindName(analysis::ModelKind kind)
{
    switch (kind) {
    case analysis::ModelKind::Strejc: return "strejc";
    case analysis::ModelKind::Integrating: return "integrateur";
    case analysis::ModelKind::FirstOrderDelay: break;
    }
    return "premier_ordre_retard";
}

}  // namespace

std::string SweepJson(const Settings& settings, const SweepPlan& plan, const SweepResult& result, const SweepLoop* loop)
{
    Json points = Json::array();
    for (const analysis::BodePoint& point : result.points) points.push_back(PointJson(point));
    Json missing = Json::array();
    for (const double hz : result.missingHz) missing.push_back(Number(hz));
    Json json{{"banc", settings.bench->name},
              {"mode", settings.mode->name},
              {"commande", settings.Command().name},
              {"mesure", settings.Measure().name},
              {"unite_mesure", tarvic::Latin1ToUtf8(result.measureUnit)},
              {"unite_gain", tarvic::Latin1ToUtf8(result.measureUnit + "/%")},
              {"repos_pct", Number(plan.rest)},
              {"amplitude_pct", Number(plan.amplitude)},
              {"complet", result.missingHz.empty()},
              {"bode", points},
              {"manquantes_hz", missing}};
    // As the identification's JSON writes a model.
    if (result.model) {
        const analysis::ProcessModel& model = *result.model;
        const bool lag = model.kind != analysis::ModelKind::Integrating;
        json["modele"] = {{"type", KindName(model.kind)},
                          {"gain", Number(model.gain)},
                          {"unite_gain", tarvic::Latin1ToUtf8(GainUnit(model, result.measureUnit, kCommandUnit))},
                          {"constante_temps_s", lag ? Number(model.timeConstant) : Json()},
                          {"retard_s", Number(model.delay)},
                          {"ordre", lag ? Json(model.order) : Json()}};
    }
    if (loop && loop->refusal.empty())
        json["marges"] = {{"gain_db", Number(loop->margins.gainDb)},
                          {"phase_deg", Number(loop->margins.phaseDeg)},
                          {"frequence_gain_hz", Number(loop->margins.gainCrossoverHz)},
                          {"frequence_phase_hz", Number(loop->margins.phaseCrossoverHz)}};
    return json.dump(2) + "\n";
}

std::string WriteSweepJson(const std::string& path, const Settings& settings, const SweepPlan& plan,
                           const SweepResult& result, const SweepLoop* loop)
{
    if (const int error = WriteWholeFile(path, SweepJson(settings, plan, result, loop)))
        return tarvic::Format("Impossible d'\xE9" "crire %s : %s.", path.c_str(),
                              tarvic::FileErrorReason(error, tarvic::FileUse::Write).c_str());
    return {};
}

}  // namespace banc
