#include "engine/run/Download.h"

#include <cmath>

namespace banc {
namespace {

// The recording's arming order and the fragment that gives it the waiting time.
constexpr int kRecordingArm = 1;
constexpr int kRecordingWait = 1007;
// The controllers' action byte alone ("RTRE" with the kind), outside their sequence.
constexpr int kActionCode = 100;

void AppendSequence(std::vector<std::string>& lines, CEidElement& element)
{
    for (int code = 0; code < element.NbParam(); ++code) {
        std::string text = element.ConfFerz(code);
        if (!text.empty()) lines.push_back(std::move(text));
    }
}

void AppendSelector(std::vector<std::string>& lines, const Elements& elements, const Settings& settings)
{
    if (!settings.mode->controller->closedLoop) return;
    std::string selector = elements.bench->ConfFerz(settings.Measure().fragment);
    if (!selector.empty()) lines.push_back(std::move(selector));
}

}  // namespace

std::vector<std::string> ConfigurationLines(const Elements& elements, const Settings& settings)
{
    std::vector<std::string> lines;
    AppendSequence(lines, *elements.bench);
    for (const int code : settings.bench->afterSequence) lines.push_back(elements.bench->ConfFerz(code));
    AppendSequence(lines, *elements.controller);
    lines.push_back(elements.controller->ConfFerz(kWiringCode));
    AppendSelector(lines, elements, settings);
    AppendSequence(lines, *elements.generator);
    for (std::string& line : RecordingLines(elements)) lines.push_back(std::move(line));
    return lines;
}

std::vector<std::string> RecordingLines(const Elements& elements)
{
    std::vector<std::string> lines;
    CEnregistrement& recording = *elements.recording;
    for (int code = 0; code < recording.NbParam(); ++code) {
        std::string text = recording.ConfFerz(code);
        if (code == kRecordingArm) text += recording.ConfFerz(kRecordingWait);
        if (!text.empty()) lines.push_back(std::move(text));
    }
    return lines;
}

std::string LoopLine(const Elements& elements, const Settings& settings, bool run)
{
    return settings.mode->controller->startStop(*elements.controller, run);
}

std::vector<std::string> ParameterLines(const Elements& elements, const ParameterDef& def)
{
    switch (def.role) {
    case Role::Generator: return GeneratorLines(elements);
    case Role::Recording: return {};  // the recording takes its settings at the next start
    case Role::Bench:
    case Role::Controller: break;
    }
    CEidElement& element = *elements.Of(def.role);
    std::vector<std::string> lines;
    if (std::string single = element.ConfFerz(def.index); !single.empty())
        lines.push_back(std::move(single));
    else
        AppendSequence(lines, element);
    return lines;
}

std::vector<std::string> GeneratorLines(const Elements& elements)
{
    CGeneFonction& generator = *elements.generator;
    WholeCardLevels(generator);
    int kind = 0;
    generator.LitCParam(0, kind);
    generator.SetCParam(0, static_cast<char>(kind));
    std::vector<std::string> lines;
    AppendSequence(lines, generator);
    return lines;
}

void WholeCardLevels(CGeneFonction& generator)
{
    if (!generator.TestSynum()) return;  // percent levels: the card's counts are finer than a user's figures
    generator.ECHELON = std::round(generator.ECHELON);
    generator.C_REPOS = std::round(generator.C_REPOS);
}

std::vector<std::string> ActionLines(const Elements& elements) { return {elements.controller->ConfFerz(kActionCode)}; }

std::vector<std::string> WiringLines(const Elements& elements, const Settings& settings)
{
    std::vector<std::string> lines = {elements.controller->ConfFerz(kWiringCode)};
    AppendSelector(lines, elements, settings);
    return lines;
}

}  // namespace banc
