#include "cli/Summary.h"

#include <tarvic/platform/Text.h>

#include "engine/outputs/Markup.h"
#include "engine/outputs/Results.h"
#include "engine/outputs/StepText.h"

namespace banc::cli {
namespace {

constexpr int kOneLine = 0;  // LitConfiguration layout: one line an item

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
    std::string text = tarvic::Format("%s\n", ExperimentTitle(settings).c_str());
    text += tarvic::Format("Blocs acquis : %d sur %d (%d points, %.1f s)\n", blocks, recording.LitParam(2), points,
                           points * periodMs / 1000.0);
    text += StepSummary(ExperimentStep(settings, elements), {curves.measureUnit.unit, curves.setpointUnit});
    text += Indented(elements.controller->LitConfiguration(kOneLine));
    text += Indented(elements.generator->LitConfiguration(kOneLine));
    return text;
}

}  // namespace banc::cli
