#include <tarvic/platform/Text.h>

#include "engine/outputs/Results.h"
#include "report/Report.h"
#include "report/ReportBlocks.h"
#include "report/ReportPrinter.h"
#include "report/RunFields.h"

namespace banc::report {
namespace {

std::string Numbers(const std::vector<ComparedRun>& runs)
{
    std::string numbers;
    for (const ComparedRun& run : runs)
        numbers += (numbers.empty() ? "" : ", ") + tarvic::Format("%lld", run.stored.number);
    return numbers;
}

}  // namespace

Document ComparisonDocument(CDC& measure, const std::vector<ComparedRun>& runs)
{
    BlockList blocks(measure);
    const std::string title = "Comparaison des essais " + Numbers(runs);
    blocks.Paragraph(title, kTitleStyle);
    std::vector<std::pair<std::string, std::string>> fields;
    for (const ComparedRun& run : runs) {
        const history::StoredRun& stored = run.stored;
        fields.emplace_back(RunName(stored.number), ExperimentTitle(run.loaded.settings) + ", " + stored.startedAt +
                                                        ", " + (stored.user.empty() ? "inconnu" : stored.user) + " ; " +
                                                        stored.summary + " ; " + OutcomeText(stored));
    }
    blocks.Fields(fields);

    blocks.Heading("Courbes superpos\xE9" "es");
    // The picture --comparer writes, on the page's width.
    const PlotFrame frame = ComparisonImageFrame(runs.size());
    blocks.Drawing(frame.width, frame.height, static_cast<double>(kPageWidth) / frame.width,
                   [&runs, frame](CDC& dc) { DrawComparison(dc, runs, frame); });

    blocks.Heading("R\xE9ponses indicielles");
    blocks.Table(ComparisonFigures(runs));

    for (const ComparedRun& run : runs)
        if (!run.stored.comment.empty()) {
            blocks.Heading(tarvic::Format("Commentaire de l'essai %lld", run.stored.number));
            blocks.Paragraph(run.stored.comment);
        }
    return {title, "tarvic-banc - " + title, blocks.Take()};
}

}  // namespace banc::report

namespace banc::report {

std::string WriteComparisonReport(const std::string& path, const std::vector<ComparedRun>& runs)
{
    return WritePdf(path, Measured([&](CDC& dc) { return ComparisonDocument(dc, runs); }));
}

std::string PrintComparisonReport(QPagedPaintDevice& device, const std::vector<ComparedRun>& runs)
{
    return PrintDocument(Measured([&](CDC& dc) { return ComparisonDocument(dc, runs); }), device);
}

}  // namespace banc::report
