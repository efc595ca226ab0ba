#include "cli/LabRun.h"

#include <tarvic/platform/Text.h>

#include <algorithm>

#include "cli/Console.h"
#include "engine/lab/LoopTuning.h"
#include "engine/lab/RecordedResponse.h"
#include "engine/lab/StoredModel.h"
#include "engine/model/ControllerChoice.h"
#include "engine/outputs/AnalysisPlot.h"
#include "engine/outputs/FigureText.h"
#include "engine/outputs/LabText.h"
#include "engine/outputs/Results.h"
#include "engine/run/Setup.h"

namespace banc::cli {
namespace {

using analysis::ControllerType;
using analysis::Rule;

constexpr const char* kDefaultController = "PI";
constexpr int kGainDigits = 3;

analysis::TuningOptions OptionsOf(const Request& request) { return {request.lambda, request.tauC}; }

Rule RuleOf(const Request& request) { return analysis::FindRule(request.rule).value_or(Rule::Simc); }

ControllerType TypeOf(const Request& request)
{
    return analysis::FindControllerType(request.controller.empty() ? kDefaultController : request.controller)
        .value_or(ControllerType::PI);
}

std::string MeasureUnit(const Settings& settings, const Elements& elements)
{
    return CurvesOf(settings, elements).measureUnit.unit;
}

// What a suggestion sets, as the options that would set it.
std::string SettingOptions(const ControllerSettings& settings)
{
    const auto has = [&](char action) { return settings.actions.find(action) != std::string::npos; };
    std::string text = "--kp " + SettingText(settings.kp);
    if (has('I')) text += " --ti " + SettingText(settings.ti);
    if (has('D')) text += " --td " + SettingText(settings.td) + " --kf " + SettingText(settings.kf);
    return text + " --ks " + SettingText(settings.ks) + " --actions " + settings.actions;
}

std::string AppliedText(const TunedSuggestion& tuned, const Settings& loop)
{
    return tarvic::Format("R\xE9glage %s (%s) \xE9" "crit dans le profil du mode %s : %s.\n",
                          analysis::RuleKey(tuned.suggestion.rule),
                          analysis::ControllerTypeName(tuned.suggestion.pid.type), loop.mode->name,
                          SettingOptions(tuned.settings).c_str());
}

const TunedSuggestion* Chosen(const std::vector<TunedSuggestion>& suggestions, Rule rule, ControllerType type)
{
    const auto found = std::find_if(suggestions.begin(), suggestions.end(), [&](const TunedSuggestion& tuned) {
        return tuned.suggestion.rule == rule && tuned.suggestion.pid.type == type;
    });
    return found == suggestions.end() ? nullptr : &*found;
}

std::string NoSuchSuggestion(const Request& request)
{
    return tarvic::Format("La r\xE8gle %s ne donne pas de correcteur %s pour ce mod\xE8le",
                          analysis::RuleKey(RuleOf(request)), analysis::ControllerTypeName(TypeOf(request)));
}

// Each rule of the table once, with its name in full.
std::string Legend(const std::vector<TunedSuggestion>& suggestions)
{
    std::vector<Rule> rules;
    for (const auto& tuned : suggestions)
        if (std::find(rules.begin(), rules.end(), tuned.suggestion.rule) == rules.end())
            rules.push_back(tuned.suggestion.rule);
    std::string text;
    for (const Rule rule : rules)
        text += tarvic::Format("  %-10s %s\n", analysis::RuleKey(rule), analysis::RuleLabel(rule));
    return text;
}

std::string ModelText(const analysis::ProcessModel& model, const std::string& unit)
{
    const std::string gain = SignificantText(model.gain, kGainDigits) + " " + GainUnit(model, unit, kCommandUnit);
    switch (model.kind) {
    case analysis::ModelKind::Integrating:
        return tarvic::Format("int\xE9grateur, gain %s, retard %s", gain.c_str(), SecondsText(model.delay, 0).c_str());
    case analysis::ModelKind::Strejc:
        return tarvic::Format("Strejc d'ordre %d, gain %s, constante de temps %s, retard %s", model.order, gain.c_str(),
                              SecondsText(model.timeConstant, 0).c_str(), SecondsText(model.delay, 0).c_str());
    case analysis::ModelKind::FirstOrderDelay: break;
    }
    return tarvic::Format("premier ordre, gain %s, constante de temps %s, retard %s", gain.c_str(),
                          SecondsText(model.timeConstant, 0).c_str(), SecondsText(model.delay, 0).c_str());
}

std::string PredictedText(const StepFigures& figures)
{
    const auto seconds = [&](const std::optional<float>& value, const char* missing) {
        return value ? SecondsText(*value, figures.samplePeriod) : std::string(missing);
    };
    return tarvic::Format("d\xE9passement %s, temps de mont\xE9" "e %s, temps d'\xE9tablissement \xE0 5 %% %s.\n",
                          figures.overshoot ? PercentText(*figures.overshoot).c_str() : "non \xE9tabli",
                          seconds(figures.riseTime, "non \xE9tabli").c_str(),
                          seconds(figures.settlingTime, "non atteint").c_str());
}

std::string NoModel(const Settings& settings)
{
    return tarvic::Format(
        "Aucun mod\xE8le gard\xE9 de la %s du banc %s command\xE9" "e par %s : identifiez-la "
        "d'abord (--mode bo --mesure %s --commande %s --identifier).",
        settings.Measure().label, settings.bench->name, settings.Command().label, settings.Measure().name,
        settings.Command().name);
}

}  // namespace

LabRun::LabRun(const Request& request, std::shared_ptr<tarvic::Profile> profile)
    : m_request(request), m_profile(std::move(profile))
{
}

std::string LabRun::Prepare(Settings& settings, Elements& elements)
{
    const double stabilisation = m_request.settling.value_or(kDefaultStabilisation);
    if (m_request.identify) {
        if (std::string refusal = IdentificationRun::Refusal(settings, elements); !refusal.empty()) return refusal;
        m_identificationRun =
            std::make_unique<IdentificationRun>(settings, elements, IdentificationRun::Options{stabilisation, true});
        return {};
    }
    if (m_request.relay) {
        if (std::string refusal = RelayRun::Refusal(settings); !refusal.empty()) return refusal;
        m_relayRun = std::make_unique<RelayRun>(settings, elements, stabilisation);
        return {};
    }
    if (!m_request.rule.empty())
        if (std::string refusal = PrepareRule(settings, elements); !refusal.empty()) return refusal;
    if (m_request.predict) return PreparePrediction(settings, elements);
    return {};
}

std::string LabRun::PrepareRule(Settings& settings, Elements& elements)
{
    const std::optional<analysis::ProcessModel> model = LoadModel(*m_profile, settings, elements);
    if (!model) return NoModel(settings);
    m_outputs.report.model = model;
    Write(stdout, "Mod\xE8le gard\xE9 : " + ModelText(*model, MeasureUnit(settings, elements)) + ".\n");
    if (!(model->gain > 0))
        return "Le mod\xE8le gard\xE9 a un gain n\xE9gatif (proc\xE9" "d\xE9 \xE0 action inverse) : pas de r\xE9glage "
               "\xE0 en tirer.";
    LoopTuner tuner(settings, m_profile);
    if (!tuner.Error().empty()) return tuner.Error();
    const Rule rule = RuleOf(m_request);
    const ControllerType type = TypeOf(m_request);
    for (const analysis::Suggestion& suggestion : analysis::SuggestSettings(*model, OptionsOf(m_request)))
        if (suggestion.rule == rule && suggestion.pid.type == type) m_applied = tuner.Tune(suggestion, &*model);
    if (!m_applied) return NoSuchSuggestion(m_request) + ".";
    settings = WithController(settings, m_applied->settings);
    const SetupResult setup = Configure(settings, m_profile, elements);
    if (!setup.error.empty()) return "Le r\xE9glage sugg\xE9r\xE9 ne s'applique pas : " + setup.error;
    m_outputs.report.applied = &*m_applied;
    Write(stdout, AppliedText(*m_applied, settings));
    return {};
}

std::string LabRun::PreparePrediction(const Settings& settings, Elements& elements)
{
    if (!m_outputs.report.model) {
        m_outputs.report.model = LoadModel(*m_profile, settings, elements);
        if (!m_outputs.report.model) return NoModel(settings);
        Write(stdout,
              "Mod\xE8le gard\xE9 : " + ModelText(*m_outputs.report.model, MeasureUnit(settings, elements)) + ".\n");
    }
    m_prediction = PredictRun(*m_outputs.report.model, settings, elements);
    if (m_prediction->measure.empty())
        return "La r\xE9ponse ne se pr\xE9" "dit que pour un \xE9" "chelon de consigne (--signal echelon).";
    m_outputs.report.prediction = &*m_prediction;
    m_outputs.overlays.push_back(PredictionOverlay(*m_prediction));
    Write(stdout, "R\xE9ponse pr\xE9" "dite : " + PredictedText(m_prediction->figures));
    return {};
}

RunPlan* LabRun::Plan()
{
    if (m_identificationRun) return m_identificationRun.get();
    return m_relayRun.get();
}

void LabRun::Conclude(const Settings& settings, Elements& elements, const Outcome& outcome)
{
    m_outputs.report.complete = outcome.status == Outcome::Status::Finished;
    if (!m_request.identify && !m_request.relay && !m_prediction) return;
    if (!m_outputs.report.complete) {
        // What was recorded is no whole response: a model or a figure read off it would be wrong.
        const char* lost = m_request.identify ? "rien n'est identifi\xE9"
                           : m_request.relay  ? "pas de gain critique"
                                              : "pas de comparaison avec la pr\xE9" "diction";
        m_outputs.report.labRefusal = tarvic::Format("L'essai s'est arr\xEAt\xE9 avant sa fin : %s.", lost);
        Complain(m_outputs.report.labRefusal);
        return;
    }
    if (m_request.identify) ConcludeIdentification(settings, elements);
    if (m_request.relay) ConcludeRelay(settings, elements);
    if (m_prediction) ConcludePrediction(settings, elements);
}

void LabRun::ConcludeIdentification(const Settings& settings, Elements& elements)
{
    m_lab = IdentifyRun(settings, elements, m_profile, OptionsOf(m_request));
    m_outputs.report.identification = &*m_lab;
    const analysis::Identification& identification = m_lab->identification;
    std::string& text = m_outputs.text;
    text += "\nIdentification :\n";
    if (!identification.Identified()) {
        text += "Pas de mod\xE8le : " + identification.refusal + "\n";
        return;
    }
    const std::string unit = MeasureUnit(settings, elements);
    text += RenderTable(ModelTable(identification, unit, kCommandUnit, m_lab->record.period));
    m_outputs.overlays = IdentificationOverlays(identification, m_lab->record);
    const LoopTarget loop = ClosedLoopFor(settings);
    if (SaveModel(*m_profile, settings, elements, identification.fit->model))
        text += "Mod\xE8le des moindres carr\xE9s gard\xE9 dans le profil pour la boucle ferm\xE9" "e.\n";
    else
        text += "Le mod\xE8le n'a pas pu \xEAtre gard\xE9 dans le profil.\n";
    if (!m_lab->tuningRefusal.empty()) {
        text += "Pas de r\xE9glage sugg\xE9r\xE9 : " + m_lab->tuningRefusal + "\n";
        return;
    }
    text += tarvic::Format("\nR\xE9glages sugg\xE9r\xE9s pour le mode %s, et leur r\xE9ponse pr\xE9" "dite :\n",
                           loop.settings.mode->name);
    text += RenderTable(SuggestionTable(m_lab->suggestions)) + Legend(m_lab->suggestions);
    WriteChosen(settings, m_lab->suggestions);
}

void LabRun::ConcludeRelay(const Settings& settings, Elements& elements)
{
    m_relay = AnalyseRelayRun(settings, elements, m_profile);
    m_outputs.report.relay = &*m_relay;
    const analysis::RelayResult& relay = m_relay->relay;
    std::string& text = m_outputs.text;
    text += "\nTest du relais :\n";
    if (!relay.refusal.empty()) {
        text += "Pas de gain critique : " + relay.refusal + "\n";
        return;
    }
    const std::string unit = MeasureUnit(settings, elements);
    const double period = PeriodMs(*elements.recording) / 1000.0;
    text += tarvic::Format(
        "Gain critique Ku = %s %s/%s, p\xE9riode critique Pu = %s (%d p\xE9riodes, amplitude %s %s "
        "pour un relais de %s %s).\n",
        SignificantText(relay.ultimateGain, kGainDigits).c_str(), kCommandUnit, unit.c_str(),
        SecondsText(relay.ultimatePeriod, period).c_str(), relay.periods,
        SignificantText(relay.amplitude, kGainDigits).c_str(), unit.c_str(),
        SignificantText(relay.relayAmplitude, kGainDigits).c_str(), kCommandUnit);
    if (!m_relay->tuningRefusal.empty()) {
        text += "Pas de r\xE9glage sugg\xE9r\xE9 : " + m_relay->tuningRefusal + "\n";
        return;
    }
    text += RenderTable(SuggestionTable(m_relay->suggestions)) + Legend(m_relay->suggestions);
    WriteChosen(settings, m_relay->suggestions);
}

void LabRun::ConcludePrediction(const Settings& settings, Elements& elements)
{
    const analysis::StepRecord record = RecordedResponse(settings, elements);
    m_comparison = ComparePrediction(*m_prediction, ExperimentStep(settings, elements), record.measure);
    m_outputs.report.comparison = &*m_comparison;
    const std::string unit = MeasureUnit(settings, elements);
    m_outputs.text += "\nMesur\xE9 et pr\xE9" "dit :\n" + RenderTable(ComparisonTable(*m_comparison, unit)) +
                      tarvic::Format("Int\xE9grale de l'\xE9" "cart absolu : %s %s\xB7s sur %s\n",
                                     SignificantText(m_comparison->iae, kGainDigits).c_str(), unit.c_str(),
                                     SecondsText(m_comparison->span, record.period).c_str());
    if (!m_comparison->fromRest)
        m_outputs.text += tarvic::Format(
            "La mesure \xE9tait \xE0 %s %s \xE0 l'\xE9" "chelon, pas au repos de la consigne (%s %s) d'o\xF9 la "
            "pr\xE9" "diction part : l'\xE9" "cart vient d'abord de l\xE0.\n",
            DecimalText(m_comparison->measured.initial, 2).c_str(), unit.c_str(),
            DecimalText(m_comparison->predicted.initial, 2).c_str(), unit.c_str());
}

void LabRun::WriteChosen(const Settings& run, const std::vector<TunedSuggestion>& suggestions)
{
    std::string& text = m_outputs.text;
    if (m_request.rule.empty()) {
        text += "Pour en \xE9" "crire un dans le profil : --regle NOM [--correcteur P|PI|PID].\n";
        return;
    }
    const TunedSuggestion* chosen = Chosen(suggestions, RuleOf(m_request), TypeOf(m_request));
    if (!chosen) {
        text += NoSuchSuggestion(m_request) + " : rien n'est \xE9" "crit dans le profil.\n";
        return;
    }
    const LoopTarget target = ClosedLoopFor(run);
    const Settings loop = WithController(target.settings, chosen->settings);
    Elements written;
    const SetupResult setup = Configure(loop, m_profile, written);
    if (!setup.error.empty()) {
        text += "Le r\xE9glage n'est pas \xE9" "crit dans le profil : " + setup.error + "\n";
        return;
    }
    if (!setup.saved) {
        text += "Le r\xE9glage n'a pas pu \xEAtre \xE9" "crit dans le profil.\n";
        return;
    }
    m_applied = *chosen;
    m_outputs.report.applied = &*m_applied;
    text += AppliedText(*m_applied, loop);
}

}  // namespace banc::cli
