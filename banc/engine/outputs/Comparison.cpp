#include "engine/outputs/Comparison.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <tarvic/platform/PainterDC.h>
#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cmath>

#include "engine/outputs/DescriptionLine.h"
#include "engine/outputs/Results.h"
#include "engine/outputs/StepText.h"

namespace banc {
namespace {

// Told apart by colour on a screen, by dash on a black and white print.
constexpr RunPen kPens[kComparisonPens] = {
    {RGB(0, 0, 200), PS_SOLID, false},        {RGB(200, 0, 0), PS_DASH, false},
    {RGB(0, 130, 0), PS_DOT, false},          {RGB(170, 0, 170), PS_DASHDOT, false},
    {RGB(210, 110, 0), PS_DASHDOTDOT, false}, {RGB(0, 140, 150), PS_SOLID, true},
    {RGB(120, 70, 20), PS_DASH, true},        {RGB(0, 0, 0), PS_DOT, true},
    {RGB(110, 110, 110), PS_DASHDOT, true},   {RGB(120, 120, 0), PS_DASHDOTDOT, true},
};
// A marked run has this many crosses along its recording.
constexpr int kMarksPerRun = 12;

// Below the frame: the time labels, then one legend row a run (PlotImage's layout).
constexpr int kLegendTop = 46, kLegendRow = 22, kMargin = 20;

int PointsOf(const ComparedRun& run) { return BlocksAcquired(*run.loaded.elements.recording) * kPointsPerBlock; }

int PeriodOf(const ComparedRun& run) { return PeriodMs(*run.loaded.elements.recording); }

double PlannedSeconds(const ComparedRun& run)
{
    return run.loaded.elements.recording->LitParam(2) * kPointsPerBlock * PeriodOf(run) / 1000.0;
}

std::string MeasureUnit(const ComparedRun& run)
{
    return CurvesOf(run.loaded.settings, run.loaded.elements).measureUnit.unit;
}

bool GeneratorsDiffer(const std::vector<ComparedRun>& runs)
{
    const std::string first = DescriptionLine(*runs.front().loaded.elements.generator);
    return std::any_of(runs.begin(), runs.end(), [&](const ComparedRun& run) {
        return DescriptionLine(*run.loaded.elements.generator) != first;
    });
}

std::string Legend(const ComparedRun& run, bool withGenerator)
{
    std::string label =
        tarvic::Format("Essai %lld : ", run.stored.number) + DescriptionLine(*run.loaded.elements.controller);
    if (withGenerator) label += " ; " + DescriptionLine(*run.loaded.elements.generator);
    return label;
}

std::vector<PlotPoint> MeasureLine(const ComparedRun& run)
{
    const Curve measure = CurvesOf(run.loaded.settings, run.loaded.elements).measure;
    const float seconds = static_cast<float>(PeriodOf(run)) / 1000;
    std::vector<PlotPoint> line;
    const int points = PointsOf(run);
    line.reserve(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i)
        line.push_back({static_cast<float>(i) * seconds, measure.Value(*run.loaded.elements.recording, i)});
    return line;
}

// Crosses spread evenly over the line.
std::vector<PlotPoint> Marks(const std::vector<PlotPoint>& line)
{
    std::vector<PlotPoint> marks;
    const std::size_t step = std::max<std::size_t>(line.size() / kMarksPerRun, 1);
    for (std::size_t i = step / 2; i < line.size(); i += step) marks.push_back(line[i]);
    return marks;
}

std::string Figure(const std::optional<float>& value, const char* format, const std::string& unit)
{
    return value ? tarvic::Format(format, double{*value}, unit.c_str()) : "-";
}

std::string Seconds(const std::optional<float>& value, float samplePeriod)
{
    return value ? StepSeconds(*value, samplePeriod) : "-";
}

}  // namespace

std::string LoadComparedRun(const history::StoredRun& run, ComparedRun& compared)
{
    compared.stored = run;
    compared.stored.archive.clear();  // read once, into the elements
    return LoadArchiveBytes(run.archive, tarvic::Format("l'archive de l'essai %lld", run.number), compared.loaded);
}

RunPen ComparisonPen(int index) { return kPens[index % kComparisonPens]; }

std::string ComparisonRefusal(const std::vector<ComparedRun>& runs)
{
    if (runs.size() < 2) return "Il faut au moins deux essais pour une comparaison.";
    const std::string unit = MeasureUnit(runs.front());
    for (const ComparedRun& run : runs)
        if (MeasureUnit(run) != unit)
            return tarvic::Format(
                "L'essai %lld mesure en %s, l'essai %lld en %s : ils ne se comparent pas sur un "
                "m\xEAme axe.",
                runs.front().stored.number, unit.c_str(), run.stored.number, MeasureUnit(run).c_str());
    return {};
}

PlotContent ComparisonPlot(const std::vector<ComparedRun>& runs)
{
    PlotContent content;
    if (runs.empty()) return content;
    std::string numbers;
    for (const ComparedRun& run : runs) numbers += (numbers.empty() ? "" : ", ") + std::to_string(run.stored.number);
    content.title = "Comparaison des essais " + numbers;
    const bool withGenerator = GeneratorsDiffer(runs);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RunPen pen = ComparisonPen(static_cast<int>(i));
        std::vector<PlotPoint> line = MeasureLine(runs[i]);
        std::vector<PlotPoint> marks = pen.marked ? Marks(line) : std::vector<PlotPoint>();
        content.overlays.push_back(PlotOverlay{Legend(runs[i], withGenerator), pen.colour, false, 0, std::move(line),
                                               std::move(marks), pen.style});
    }
    content.axes[0].unit = MeasureUnit(runs.front());
    // The finest period draws every run's points; the time axis spans the longest recording.
    const auto finest = std::min_element(
        runs.begin(), runs.end(), [](const ComparedRun& a, const ComparedRun& b) { return PeriodOf(a) < PeriodOf(b); });
    content.periodMs = std::max(PeriodOf(*finest), 1);
    double longest = 0;
    for (const ComparedRun& run : runs) longest = std::max(longest, PlannedSeconds(run));
    content.plannedPoints = static_cast<int>(std::ceil(longest * 1000 / content.periodMs));
    return content;
}

PlotFrame ComparisonImageFrame(std::size_t runs)
{
    PlotFrame frame = kImageFrame;
    frame.height = std::max(frame.height, frame.bottom + kLegendTop + static_cast<int>(runs) * kLegendRow + kMargin);
    return frame;
}

void DrawComparison(CDC& dc, const std::vector<ComparedRun>& runs, const PlotFrame& frame)
{
    if (runs.empty()) return;
    DrawPlot(dc, *runs.front().loaded.elements.recording, ComparisonPlot(runs), frame);
}

std::string SaveComparison(const std::string& path, const std::vector<ComparedRun>& runs)
{
    if (!QGuiApplication::instance()) return "Le dessin demande une application Qt.";
    const PlotFrame frame = ComparisonImageFrame(runs.size());
    QImage image(frame.width, frame.height, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CPainterDC dc(painter);
        DrawComparison(dc, runs, frame);
    }
    return SavePicture(path, image);
}

TextTable ComparisonFigures(const std::vector<ComparedRun>& runs)
{
    TextTable table;
    table.header.push_back("");
    const char* names[] = {"Date",
                           "Banc",
                           "Mode",
                           "Issue",
                           "Blocs acquis",
                           "Consigne",
                           "Valeur finale",
                           "D\xE9passement",
                           "Temps de mont\xE9" "e (10 \xE0 90 %)",
                           "Temps d'\xE9tablissement \xE0 5 %"};
    for (const char* name : names) table.rows.push_back({name});
    for (const ComparedRun& run : runs) {
        const Settings& settings = run.loaded.settings;
        const Elements& elements = run.loaded.elements;
        const StepFigures step = ExperimentStep(settings, elements);
        const ExperimentCurves curves = CurvesOf(settings, elements);
        const std::string& unit = curves.measureUnit.unit;
        const CEnregistrement& recording = *elements.recording;
        table.header.push_back(tarvic::Format("Essai %lld", run.stored.number));
        const std::string cells[] = {
            run.stored.startedAt,
            run.stored.bench,
            run.stored.mode,
            history::OutcomeWord(run.stored.outcome),
            tarvic::Format("%d sur %d", BlocksAcquired(recording), elements.recording->LitParam(2)),
            tarvic::Format("%.2f %s", double{step.setpoint}, curves.setpointUnit.c_str()),
            Figure(step.final, "%.2f %s", unit),
            Figure(step.overshoot, "%.1f %%%s", ""),
            Seconds(step.riseTime, step.samplePeriod),
            Seconds(step.settlingTime, step.samplePeriod),
        };
        for (std::size_t row = 0; row < table.rows.size(); ++row) table.rows[row].push_back(cells[row]);
    }
    return table;
}

}  // namespace banc
