#include "engine/Download.h"

namespace banc {
namespace {

// The recording's arming order and the fragment that gives it the waiting time.
constexpr int kRecordingArm = 1;
constexpr int kRecordingWait = 1007;

void AppendSequence(std::vector<std::string>& lines, CEidElement& element)
{
    for (int code = 0; code < element.NbParam(); ++code) {
        std::string text = element.ConfFerz(code);
        if (!text.empty()) lines.push_back(std::move(text));
    }
}

}  // namespace

std::vector<std::string> ConfigurationLines(const Elements& elements, const Settings& settings)
{
    std::vector<std::string> lines;
    AppendSequence(lines, *elements.bench);
    for (const int code : settings.bench->afterSequence) lines.push_back(elements.bench->ConfFerz(code));
    AppendSequence(lines, *elements.controller);
    lines.push_back(elements.controller->ConfFerz(kWiringCode));
    if (settings.mode->controller->closedLoop) {
        const std::string selector = elements.bench->ConfFerz(settings.Measure().fragment);
        if (!selector.empty()) lines.push_back(selector);
    }
    AppendSequence(lines, *elements.generator);
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

}  // namespace banc
