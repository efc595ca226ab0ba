#include "engine/outputs/ResultsJson.h"

#include <nlohmann/json.hpp>

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/Text.h>

#include <charconv>
#include <cmath>

#include "engine/outputs/FigureText.h"
#include "engine/outputs/Results.h"
#include "engine/outputs/SafeFile.h"

namespace banc {
namespace {

// In the order written, as a reader expects the fields.
using Json = nlohmann::ordered_json;

constexpr double kSettingScale = 1000;  // the profile keeps three decimals of a controller setting

Json Number(double value) { return std::isfinite(value) ? Json(value) : Json(); }

// A float as its shortest digits, not the double nearest to it: 0.1f is 0.1, not 0.10000000149.
Json Number(float value)
{
    if (!std::isfinite(value)) return {};
    char digits[64];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    double shortest = 0;
    std::from_chars(digits, end, shortest);
    return shortest;
}

template <class T>
Json Optional(const std::optional<T>& value)
{
    return value ? Number(*value) : Json();
}

const char* VerdictName(StepVerdict verdict)
{
    switch (verdict) {
    case StepVerdict::Settled: return "etablie";
    case StepVerdict::Oscillating: return "oscille";
    case StepVerdict::DyingOut: return "s_amortit";
    case StepVerdict::Rising: return "monte";
    case StepVerdict::Falling: return "descend";
    case StepVerdict::Unsteady: return "instable";
    case StepVerdict::NoResponse: return "sans_reponse";
    case StepVerdict::NotAStep: return "pas_un_echelon";
    case StepVerdict::TooShort: return "trop_courte";
    }
    return "";
}

// The figures of a response: the summary's, and a prediction's.
Json FiguresJson(const StepFigures& figures)
{
    const bool settled = figures.verdict == StepVerdict::Settled;
    Json json{{"verdict", VerdictName(figures.verdict)},
              {"depart", Number(figures.initial)},
              {"consigne", Number(figures.setpoint)},
              {"derniere_mesure", Number(figures.last)},
              {"valeur_finale", Optional(figures.final)},
              {"depassement_pct", Optional(figures.overshoot)},
              {"temps_montee_s", Optional(figures.riseTime)},
              {"temps_etablissement_s", Optional(figures.settlingTime)},
              {"constante_temps_s", Optional(figures.timeConstant)},
              {"oscillation", nullptr}};
    if (figures.oscillation && !settled)
        json["oscillation"] = {{"amplitude", Number(figures.oscillation->amplitude)},
                               {"centre", Number(figures.oscillation->centre)},
                               {"periode_s", Number(figures.oscillation->period)},
                               {"periodes", figures.oscillation->periods}};
    return json;
}

const char* ModelType(analysis::ModelKind kind)
{
    switch (kind) {
    case analysis::ModelKind::FirstOrderDelay: return "premier_ordre_retard";
    case analysis::ModelKind::Strejc: return "strejc";
    case analysis::ModelKind::Integrating: return "integrateur";
    }
    return "";
}

Json ModelJson(const analysis::ProcessModel& model, const RunReport& report)
{
    const bool lag = model.kind != analysis::ModelKind::Integrating;
    return {{"type", ModelType(model.kind)},
            {"gain", Number(model.gain)},
            {"unite_gain", tarvic::Latin1ToUtf8(GainUnit(model, report.units.measure, report.commandUnit))},
            {"constante_temps_s", lag ? Number(model.timeConstant) : Json()},
            {"retard_s", Number(model.delay)},
            {"ordre", lag ? Json(model.order) : Json()},
            {"residu", nullptr}};
}

Json PointJson(const analysis::CurvePoint& point)
{
    return {{"t_s", Number(point.t)}, {"valeur", Number(point.value)}};
}

Json MethodJson(const analysis::MethodResult& method, const RunReport& report)
{
    Json json{{"methode", method.key}, {"libelle", tarvic::Latin1ToUtf8(method.label)}};
    json.update(ModelJson(method.model, report));
    Json points = Json::array();
    for (const auto& point : method.points) points.push_back(PointJson(point));
    json["points"] = points;
    json["tangente"] =
        method.tangent ? Json{{"debut", PointJson(method.tangent->first)}, {"fin", PointJson(method.tangent->second)}}
                       : Json();
    return json;
}

// A setting as the profile keeps it and as --kp takes it back.
Json Setting(float value) { return std::round(double{value} * kSettingScale) / kSettingScale; }

Json PredictionJson(const analysis::LoopPrediction& prediction)
{
    if (prediction.measure.empty()) return nullptr;  // from a relay test: no model to predict with
    return {{"depassement_pct", Optional(prediction.figures.overshoot)},
            {"temps_montee_s", Optional(prediction.figures.riseTime)},
            {"temps_etablissement_s", Optional(prediction.figures.settlingTime)},
            {"valeur_finale", Optional(prediction.figures.final)},
            {"verdict", VerdictName(prediction.figures.verdict)}};
}

Json SuggestionJson(const TunedSuggestion& tuned)
{
    const ControllerSettings& settings = tuned.settings;
    const auto has = [&](char action) { return settings.actions.find(action) != std::string::npos; };
    const analysis::IdealPid& pid = tuned.suggestion.pid;
    return {{"regle", analysis::RuleKey(tuned.suggestion.rule)},
            {"libelle", tarvic::Latin1ToUtf8(analysis::RuleLabel(tuned.suggestion.rule))},
            {"correcteur", analysis::ControllerTypeName(pid.type)},
            {"kp", Setting(settings.kp)},
            {"ti", has('I') ? Setting(settings.ti) : Json()},
            {"td", has('D') ? Setting(settings.td) : Json()},
            {"kf", has('D') ? Setting(settings.kf) : Json()},
            {"ks", Setting(settings.ks)},
            {"actions", settings.actions},
            {"forme_ideale",
             {{"kc", Number(pid.kc)},
              {"ti_s", pid.ti > 0 ? Number(pid.ti) : Json()},
              {"td_s", pid.td > 0 ? Number(pid.td) : Json()}}},
            {"prediction", PredictionJson(tuned.prediction)}};
}

Json SuggestionsJson(const std::vector<TunedSuggestion>& suggestions)
{
    Json list = Json::array();
    for (const auto& tuned : suggestions) list.push_back(SuggestionJson(tuned));
    return list;
}

void AddIdentification(Json& json, const LabResult& lab, const RunReport& report)
{
    const analysis::Identification& identification = lab.identification;
    if (!identification.Identified()) {
        json["modele"] = nullptr;
        json["refus"] = tarvic::Latin1ToUtf8(identification.refusal);
        return;
    }
    const analysis::FitResult& fit = *identification.fit;
    Json model = ModelJson(fit.model, report);
    model["residu"] = Number(fit.rms);
    model["part_expliquee"] = Number(fit.explained);
    model["iterations"] = fit.iterations;
    json["modele"] = model;
    Json methods = Json::array();
    for (const auto& method : identification.methods) methods.push_back(MethodJson(method, report));
    json["methodes"] = methods;
    json["reglages"] = SuggestionsJson(lab.suggestions);
    if (!lab.tuningRefusal.empty()) json["refus_reglages"] = tarvic::Latin1ToUtf8(lab.tuningRefusal);
}

void AddRelay(Json& json, const RelayLabResult& relay)
{
    const analysis::RelayResult& result = relay.relay;
    const bool found = result.refusal.empty();
    json["ku"] = found ? Number(result.ultimateGain) : Json();
    json["pu_s"] = found ? Number(result.ultimatePeriod) : Json();
    json["relais"] = {{"amplitude", found ? Number(result.amplitude) : Json()},
                      {"amplitude_commande", found ? Number(result.relayAmplitude) : Json()},
                      {"periodes", result.periods}};
    if (!found) json["refus"] = tarvic::Latin1ToUtf8(result.refusal);
    json["reglages"] = SuggestionsJson(relay.suggestions);
}

}  // namespace

void ReportRun(const Settings& settings, Elements& elements, RunReport& report)
{
    CEnregistrement& recording = *elements.recording;
    const ExperimentCurves curves = CurvesOf(settings, elements);
    report.settings = &settings;
    report.blocks = BlocksAcquired(recording);
    report.plannedBlocks = recording.LitParam(2);
    report.period = PeriodMs(recording) / 1000.0;
    report.step = ExperimentStep(settings, elements);
    report.units = {curves.measureUnit.unit, curves.setpointUnit};
}

std::string ResultsJson(const RunReport& report)
{
    const Settings& settings = *report.settings;
    Json json{{"banc", settings.bench->name},
              {"mode", settings.mode->name},
              {"mesure", settings.Measure().name},
              {"unite_mesure", tarvic::Latin1ToUtf8(report.units.measure)},
              {"unite_consigne", tarvic::Latin1ToUtf8(report.units.setpoint)},
              {"periode_s", Number(report.period)},
              {"blocs_acquis", report.blocks},
              {"blocs_prevus", report.plannedBlocks},
              {"complet", report.complete},
              {"resume", FiguresJson(report.step)}};
    if (!report.labRefusal.empty()) json["refus"] = tarvic::Latin1ToUtf8(report.labRefusal);
    if (report.identification) AddIdentification(json, *report.identification, report);
    if (report.relay) AddRelay(json, *report.relay);
    if (report.model && !report.identification) json["modele"] = ModelJson(*report.model, report);
    if (report.applied) json["reglage_applique"] = SuggestionJson(*report.applied);
    if (report.prediction) json["prediction"] = FiguresJson(report.prediction->figures);
    if (report.comparison)
        json["comparaison"] = {{"mesure", FiguresJson(report.comparison->measured)},
                               {"prediction", FiguresJson(report.comparison->predicted)},
                               {"iae", Number(report.comparison->iae)},
                               {"unite_iae", tarvic::Latin1ToUtf8(report.units.measure + "\xB7s")},
                               {"duree_comparee_s", Number(report.comparison->span)},
                               {"depart_au_repos", report.comparison->fromRest}};
    return json.dump(2) + "\n";
}

std::string WriteResultsJson(const std::string& path, const RunReport& report)
{
    return WriteResultsText(path, ResultsJson(report));
}

std::string WriteResultsText(const std::string& path, const std::string& json)
{
    if (const int error = WriteWholeFile(path, json))
        return tarvic::Format("Impossible d'\xE9" "crire %s : %s.", path.c_str(),
                              tarvic::FileErrorReason(error, tarvic::FileUse::Write).c_str());
    return {};
}

}  // namespace banc
