#include "cli/Summary.h"

#include <tarvic/platform/Text.h>

#include "engine/Markup.h"
#include "engine/Results.h"
#include "engine/StepAnalysis.h"

namespace banc::cli {
namespace {

constexpr int kOneLine = 0;  // LitConfiguration layout: one line an item

std::string Seconds(const std::optional<float>& seconds, const char* missing)
{
    return seconds ? tarvic::Format("%.1f s", double{*seconds}) : std::string(missing);
}

// A description without markup, one item a line, indented.
std::string Indented(const std::string& markup)
{
    std::string text;
    std::string line;
    const auto flush = [&] {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        std::size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos) text += "  " + line.substr(start) + "\n";
        line.clear();
    };
    for (const char c : PlainText(markup)) {
        if (c == '\n')
            flush();
        else
            line += c;
    }
    flush();
    return text;
}

}  // namespace

std::string SummaryText(const Settings& settings, const Elements& elements)
{
    CEnregistrement& recording = *elements.recording;
    const int blocks = BlocksAcquired(recording);
    const int points = blocks * kPointsPerBlock;
    const int periodMs = PeriodMs(recording);
    const ExperimentCurves curves = CurvesOf(settings, elements);
    const char* unit = curves.measureUnit.unit.c_str();
    std::string text = tarvic::Format("%s\n", ExperimentTitle(settings).c_str());
    text += tarvic::Format("Blocs acquis : %d sur %d (%d points, %.1f s)\n", blocks, recording.LitParam(2), points,
                           points * periodMs / 1000.0);
    const StepResponse step = AnalyseStep(recording, curves.setpoint, curves.measure, points, periodMs / 1000.0f);
    if (points < 2) {
        text += "Pas assez de points pour une r\xE9ponse.\n";
    } else if (!step.hasStep) {
        text += tarvic::Format("La mesure est rest\xE9" "e \xE0 %.2f %s : pas de r\xE9ponse \xE0 un \xE9" "chelon.\n",
                               double{step.final}, unit);
    } else {
        text += tarvic::Format("Valeur finale : %.2f %s (consigne %.2f %s, d\xE9part %.2f %s)\n", double{step.final},
                               unit, double{step.setpoint}, curves.setpointUnit.c_str(), double{step.initial}, unit);
        text += tarvic::Format("D\xE9passement : %.1f %%\n", double{step.overshoot.value_or(0)});
        text += "Temps de mont\xE9" "e (10 \xE0 90 %) : " + Seconds(step.riseTime, "non atteint") + "\n";
        text += "Temps d'\xE9tablissement \xE0 5 % : " + Seconds(step.settlingTime, "non \xE9tabli") + "\n";
    }
    text += Indented(elements.controller->LitConfiguration(kOneLine));
    text += Indented(elements.generator->LitConfiguration(kOneLine));
    return text;
}

}  // namespace banc::cli
