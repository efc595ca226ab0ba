#include <tarvic/platform/DC.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>
#include <tarvic/recording/Equation.h>

#include "engine/outputs/Results.h"
#include "engine/outputs/StepText.h"
#include "engine/outputs/Synoptic.h"
#include "report/Report.h"
#include "report/ReportBlocks.h"
#include "report/RunFields.h"
#include "report/StoredResults.h"

namespace banc::report {
namespace {

constexpr double kSynopticScale = 1;  // the first page holds it whole under the title block, as the window draws it
constexpr int kSummarySize = 18;      // the descriptions' markup, as large as the body's text
constexpr int kSummaryIndent = 20;
constexpr int kMultiLine = 1;  // LitConfiguration layout
constexpr int kDashes[] = {PS_DASH, PS_DOT};

// On a black and white print the setpoint dashed and the command dotted are
// told from the measurement, solid: the plot's two curves become lines of
// their own dash, in the renderer's colour of their code.
PlotContent PrintedPlot(CDC& dc, const Settings& settings, const Elements& elements)
{
    PlotContent plot = MakePlot(settings, elements);
    plot.legend.clear();  // the report prints the descriptions in their own section
    const float seconds = static_cast<float>(plot.periodMs) / 1000;
    std::vector<PlotCurve> solid;
    int dashes = 0;
    for (const PlotCurve& plotted : plot.curves) {
        if (plotted.curve.code == CurvesOf(settings, elements).measure.code) {
            solid.push_back(plotted);
            continue;
        }
        CEquation::TextColor(&dc, plotted.colour);
        PlotOverlay line{plotted.curve.label, dc.GetTextColor(), false, plotted.axis, {}, {}, kDashes[dashes++ % 2]};
        for (int i = 0; i < plot.points; ++i)
            line.line.push_back({static_cast<float>(i) * seconds, plotted.curve.Value(*elements.recording, i)});
        plot.overlays.push_back(std::move(line));
    }
    plot.curves = std::move(solid);
    return plot;
}

void AddSummaries(BlockList& blocks, Elements& elements)
{
    blocks.Heading("R\xE9glages des \xE9l\xE9ments");
    const std::pair<const char*, CEidElement*> described[] = {{"Banc", elements.bench.get()},
                                                              {"R\xE9gulateur", elements.controller.get()},
                                                              {"Consigne", elements.generator.get()}};
    for (const auto& [role, element] : described) {
        const std::string markup = element->LitConfiguration(kMultiLine);
        blocks.Paragraph(role, {kBodyStyle.size, true});
        if (markup.empty())
            blocks.Paragraph("(rien \xE0 d\xE9" "crire)", kBodyStyle, kSummaryIndent);
        else
            blocks.Markup(markup, kSummarySize, kSummaryIndent);
    }
}

void AddLabWork(BlockList& blocks, const std::string& resultsJson)
{
    const StoredLabWork work = ReadLabWork(resultsJson);
    if (work.models) {
        blocks.Heading("Identification");
        blocks.Table(*work.models);
    }
    if (work.suggestions) {
        blocks.Heading("R\xE9glages sugg\xE9r\xE9s");
        blocks.Table(*work.suggestions);
    }
    if (work.applied) {
        blocks.Heading("R\xE9glage appliqu\xE9");
        blocks.Table(*work.applied);
    }
    for (const std::string& note : work.notes) blocks.Paragraph(note);
}

}  // namespace

Document RunDocument(CDC& measure, const history::StoredRun& stored, const Settings& settings, Elements& elements)
{
    BlockList blocks(measure);
    const std::string name = RunName(stored.number);
    blocks.Paragraph(name + " : " + ExperimentTitle(settings), kTitleStyle);
    blocks.Fields(RunFields(stored, settings, elements));

    blocks.Heading("Synoptique");
    auto synoptic = std::make_shared<Synoptic>();
    synoptic->Build(settings, elements, false);
    blocks.Drawing(Synoptic::kWidth, Synoptic::kHeight, kSynopticScale, [synoptic](CDC& dc) { synoptic->Draw(dc); });

    blocks.Heading("Courbes");
    const PlotContent plot = PrintedPlot(measure, settings, elements);
    CEnregistrement* recording = elements.recording.get();
    blocks.Drawing(kRunPlotFrame.width, kRunPlotFrame.height, 1,
                   [recording, plot](CDC& dc) { DrawPlot(dc, *recording, plot, kRunPlotFrame); });

    blocks.Heading("R\xE9ponse indicielle");
    const ExperimentCurves curves = CurvesOf(settings, elements);
    blocks.Paragraph(StepSummary(ExperimentStep(settings, elements), {curves.measureUnit.unit, curves.setpointUnit}));

    AddSummaries(blocks, elements);
    AddLabWork(blocks, stored.resultsJson);
    if (!stored.comment.empty()) {
        blocks.Heading("Commentaire");
        blocks.Paragraph(stored.comment);
    }
    return {name + " - " + ExperimentTitle(settings), "tarvic-banc - " + name + " du " + stored.startedAt,
            blocks.Take()};
}

}  // namespace banc::report
