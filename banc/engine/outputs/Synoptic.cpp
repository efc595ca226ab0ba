#include "engine/outputs/Synoptic.h"

#include <tarvic/platform/DC.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Equation.h>
#include <tarvic/widgets/BoiteFonction.h>
#include <tarvic/widgets/Bouton.h>
#include <tarvic/widgets/Inter.h>
#include <tarvic/widgets/Sonde.h>
#include <tarvic/widgets/indeBoite.h>
#include <tarvic/widgets/mesure.h>

#include <algorithm>

#include "engine/outputs/Capitalised.h"
#include "engine/outputs/Results.h"

namespace banc {
namespace {

constexpr int kMultiLine = 1;                    // LitConfiguration layout
constexpr int kTwoWay = 0, kTwoWayMirrored = 1;  // CInter kinds
constexpr int kArrowLength = 10, kArrowAngle = 25;

// Where the items stand, in the logical frame of the drawing.
constexpr CRect kGenerator{16, 70, 250, 300};
constexpr CRect kController{350, 70, 610, 300};
constexpr CRect kBench{430, 360, 770, 500};
constexpr CRect kRecording{16, 600, 276, 740};
constexpr CRect kRunButtonRect{310, 670, 450, 720};
constexpr CPoint kSum{300, 185};
constexpr int kSumRadius = 8;
constexpr int kLoopY = 185;     // the wire from the generator to the controller
constexpr int kCommandY = 260;  // the controller's output, through the command switch
constexpr int kCommandSwitchX = 650;
constexpr int kDownX = 740;        // the command's way down to the bench
constexpr int kCommandBoxY = 320;  // its value box, whose arrow reaches the bench
constexpr int kBusY = 560;         // the measurements
constexpr int kFirstMeasureX = 420, kMeasureSpacing = 150;
constexpr int kFeedbackSwitchX = 350;
// Under the generator, left of the feedback's way up to the sum.
constexpr CPoint kSetpointCallout{262, 335};
// A switch's wire runs this far below the point it is made at.
constexpr int kSwitchWireBelow = 5;
constexpr int kTitleSize = 22, kSubtitleSize = 16;

std::string BenchText(const Settings& settings, CEidElement& bench)
{
    std::string text = "\\g" + std::string(settings.bench->title) + "\\n\n";
    text += " Commande : " + std::string(settings.Command().label) + (settings.routed ? "" : " (isol\xE9" "e)") + "\n";
    return text + bench.LitConfiguration(kMultiLine);
}

std::string RecordingText(CEnregistrement& recording)
{
    const int blocks = recording.LitParam(2);
    const double blockSeconds = recording.LitTempsAttente() / 1000.0;
    return tarvic::Format("\\gEnregistrement:\\n\n %d blocs, %g s\n P\xE9riode %d ms\n", blocks, blocks * blockSeconds,
                          PeriodMs(recording));
}

}  // namespace

void Synoptic::Add(std::unique_ptr<CElement> item) { m_items.push_back(std::move(item)); }

void Synoptic::Build(const Settings& settings, Elements& elements, bool running)
{
    m_items.clear();
    m_wires.clear();
    m_setpoint.reset();
    const ControllerKind& controller = *settings.mode->controller;
    m_title = "\\g" + std::string(settings.bench->title);
    m_subtitle = tarvic::Format("Mode %d : %s", settings.mode->number, controller.label);
    if (controller.closedLoop) m_subtitle += std::string(", mesure : ") + settings.Measure().label;
    m_levelUnit = CurvesOf(settings, elements).setpointUnit;

    const auto box = [this](int number, const CRect& rect, std::string text) {
        Add(std::make_unique<CBoiteFonction>(number, rect.left, rect.top, rect.right, rect.bottom, std::move(text)));
    };
    box(kGeneratorBlock, kGenerator, elements.generator->LitConfiguration(kMultiLine));
    box(kControllerBlock, kController, elements.controller->LitConfiguration(kMultiLine));
    box(kBenchBlock, kBench, BenchText(settings, *elements.bench));
    box(kRecordingBlock, kRecording, RecordingText(*elements.recording));
    // Red while a run is on; a click starts or stops it.
    auto run = std::make_unique<CBouton>(kRunButton, kRunButtonRect.left, kRunButtonRect.top, kRunButtonRect.right,
                                         kRunButtonRect.bottom, running ? "Arr\xEAt" : "Marche", "", 0);
    run->SetEtat(running);
    Add(std::move(run));
    BuildLoop(settings);
    BuildMeasures(settings, elements);
}

void Synoptic::BuildLoop(const Settings& settings)
{
    const bool closedLoop = settings.mode->controller->closedLoop;
    const int generatorOut = kGenerator.right, controllerIn = kController.left;
    if (closedLoop) {
        Add(std::make_unique<CMesure>(kSumPoint, kSum.x, kSum.y, "", "", 0));
        m_wires.push_back({{{generatorOut, kLoopY}, {kSum.x - kSumRadius, kLoopY}}, true});
        m_wires.push_back({{{kSum.x + kSumRadius, kLoopY}, {controllerIn, kLoopY}}, true});
    } else {
        m_wires.push_back({{{generatorOut, kLoopY}, {controllerIn, kLoopY}}, true});
    }
    auto command = std::make_unique<CInter>(kCommandSwitch, kTwoWay, kCommandSwitchX, kCommandY - kSwitchWireBelow);
    command->EEtat(settings.routed);
    const int switchRight = command->GetRect().right;
    Add(std::move(command));
    m_wires.push_back({{{kController.right, kCommandY}, {kCommandSwitchX, kCommandY}}, false});
    m_wires.push_back({{{switchRight, kCommandY}, {kDownX, kCommandY}, {kDownX, kCommandBoxY}}, false});
    Add(std::make_unique<CIndeBoite>(kCommandBox, kDownX - 30, kCommandBoxY, "u", 0));
    if (!closedLoop) return;
    auto feedback =
        std::make_unique<CInter>(kFeedbackSwitch, kTwoWayMirrored, kFeedbackSwitchX, kBusY - kSwitchWireBelow);
    feedback->EEtat(settings.feedback);
    const CRect at = feedback->GetRect();
    Add(std::move(feedback));
    // From the measurements' bus, through the switch, back to the sum.
    m_wires.push_back({{{kFirstMeasureX, kBusY}, {at.right, kBusY}}, false});
    m_wires.push_back({{{at.left, kBusY}, {kSum.x, kBusY}, {kSum.x, kSum.y + kSumRadius}}, true});
}

void Synoptic::BuildMeasures(const Settings& settings, Elements& elements)
{
    const auto& measures = settings.bench->measures;
    m_measureUnits.clear();
    const int last = kFirstMeasureX + kMeasureSpacing * (static_cast<int>(measures.size()) - 1);
    // The bench's outputs reach every measurement point, down between the labels of the first two.
    const int down = kFirstMeasureX + kMeasureSpacing / 2;
    m_wires.push_back({{{down, kBench.bottom}, {down, kBusY}}, false});
    m_wires.push_back({{{kFirstMeasureX, kBusY}, {std::max(last, down), kBusY}}, false});
    for (std::size_t i = 0; i < measures.size(); ++i) {
        const MeasureChoice& measure = measures[i];
        const int x = kFirstMeasureX + kMeasureSpacing * static_cast<int>(i);
        const int rank = static_cast<int>(i);
        auto point = std::make_unique<CMesure>(kMeasurePoint + rank, x, kBusY, Capitalised(measure.label), "", rank);
        point->EEtat(&measure == &settings.Measure());
        Add(std::move(point));
        Add(std::make_unique<CSonde>(kMeasureProbe + rank, CPoint(x, kBusY), measure.label, rank));
        m_measureUnits.push_back(QuantityUnit(measure.quantity, *elements.bench).unit);
    }
}

void Synoptic::Show(const LiveValues& values)
{
    for (std::size_t i = 0; i < values.measures.size() && i < m_measureUnits.size(); ++i)
        if (auto* probe = dynamic_cast<CSonde*>(Find(kMeasureProbe + static_cast<int>(i))))
            probe->MisAJour(tarvic::Format("%.1f", double{values.measures[i]}));
    if (auto* command = dynamic_cast<CIndeBoite*>(Find(kCommandBox)))
        command->MisAJour(tarvic::Format("%.1f %%", double{values.command}));
    // The callout's box fits its text when it is made: made again with the new one.
    m_setpoint.reset();
    if (!values.hasSetpoint) return;
    const std::string text = tarvic::Format("w = %.1f %s", double{values.setpoint}, m_levelUnit.c_str());
    m_setpoint = std::make_unique<CSonde>(CPoint(kGenerator.right + 12, kLoopY), kSetpointCallout, text);
}

void Synoptic::Draw(CDC& dc) const
{
    dc.FillSolidRect(CRect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
    CEquation(m_title, CPoint(16, 10), kTitleSize).Draw(&dc, false);
    CEquation(m_subtitle, CPoint(16, 40), kSubtitleSize).Draw(&dc, false);
    for (const auto& wire : m_wires) {
        dc.Polyline(wire.points.data(), static_cast<int>(wire.points.size()));
        if (wire.arrow && wire.points.size() >= 2)
            Fleche(&dc, wire.points.back(), wire.points[wire.points.size() - 2], kArrowLength, kArrowAngle);
    }
    for (const auto& item : m_items) item->Draw(&dc);
    if (m_setpoint) m_setpoint->Draw(&dc);
    // Units under the probes, which hold only the number.
    for (std::size_t i = 0; i < m_measureUnits.size(); ++i) {
        const int x = kFirstMeasureX + kMeasureSpacing * static_cast<int>(i);
        CEquation(m_measureUnits[i], CPoint(x - 28, kBusY + 42), kSubtitleSize).Draw(&dc, false);
    }
}

int Synoptic::Hit(CPoint point)
{
    for (auto& item : m_items)
        if (CElement* hit = item->Test(point)) return hit->LNumber();
    // A callout has no number of its own.
    if (m_setpoint && m_setpoint->Test(point)) return kSetpointProbe;
    return 0;
}

CElement* Synoptic::Find(int number) const
{
    for (const auto& item : m_items)
        if (item->LNumber() == number) return item.get();
    return nullptr;
}

}  // namespace banc
