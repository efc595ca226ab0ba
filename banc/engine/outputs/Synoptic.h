#pragma once

#include <memory>
#include <string>
#include <vector>

#include <tarvic/platform/Geometry.h>
#include <tarvic/widgets/Element.h>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"

class CDC;

namespace banc {

// The numbers of the synoptic's items: what a click on each of them does.
enum SynopticItem : int {
    kGeneratorBlock = 1,
    kControllerBlock,
    kBenchBlock,
    kRecordingBlock,
    kCommandSwitch,   // the command routed to the bench, or isolated
    kFeedbackSwitch,  // the measurement taken back, or not
    kSumPoint,
    kSetpointProbe,
    kCommandBox,
    kRunButton,
    kMeasurePoint = 20,  // + the measure's rank on the bench
    kMeasureProbe = 40,  // + the same rank
};

// The process view of an experiment, drawn with the library's synoptic
// elements: the generator, the controller and the bench as function blocks
// showing the elements' own descriptions, the loop's switches, the bench's
// measurement points with their probes, the setpoint and the command, the
// recording and the run button. The same drawing serves every bench and
// mode: only the bench's table and the elements change it; the window shows
// it and takes its clicks, the report prints it.
class Synoptic {
public:
    // The logical size it is drawn in.
    static constexpr int kWidth = 780;
    static constexpr int kHeight = 780;

    // The items for these settings and elements (holding their lock).
    void Build(const Settings& settings, Elements& elements, bool running);
    // The live values in the probes, the setpoint's callout and the command's box.
    void Show(const LiveValues& values);
    void Draw(CDC& dc) const;
    // The number of the item hit at the point, after its own hit test (a
    // switch turned, a button pressed); 0 for none.
    int Hit(CPoint point);
    CElement* Find(int number) const;
    const std::vector<std::unique_ptr<CElement>>& Items() const { return m_items; }

private:
    struct Wire {
        std::vector<CPoint> points;
        bool arrow;  // an arrowhead at the last point
    };
    void Add(std::unique_ptr<CElement> item);
    void BuildLoop(const Settings& settings);
    void BuildMeasures(const Settings& settings, Elements& elements);

    std::vector<std::unique_ptr<CElement>> m_items;
    std::unique_ptr<CElement> m_setpoint;  // the setpoint's callout, once a value came
    std::vector<Wire> m_wires;
    std::string m_title;
    std::string m_subtitle;
    std::string m_levelUnit;  // of the setpoint
    std::vector<std::string> m_measureUnits;
};

}  // namespace banc
