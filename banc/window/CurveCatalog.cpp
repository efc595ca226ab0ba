#include "window/CurveCatalog.h"

#include <algorithm>

#include "engine/outputs/Results.h"

namespace banc::window {
namespace {

// Colours beyond the renderer's three, told apart on white.
constexpr COLORREF kColours[] = {RGB(230, 120, 0),   RGB(140, 60, 170), RGB(120, 80, 40),   RGB(0, 150, 150),
                                 RGB(210, 0, 140),   RGB(128, 128, 0),  RGB(100, 100, 100), RGB(0, 0, 128),
                                 RGB(255, 105, 180), RGB(0, 200, 255),  RGB(200, 160, 0),   RGB(0, 100, 0),
                                 RGB(128, 0, 0)};

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::vector<PlotCurve> CurveCatalog(const Settings& settings, const Elements& elements)
{
    const PlotContent plot = MakePlot(settings, elements);
    std::vector<PlotCurve> catalog;
    // The measurement first: the cursor tries the curves in this order.
    catalog.push_back(plot.curves.back());
    catalog.insert(catalog.end(), plot.curves.begin(), plot.curves.end() - 1);
    const ExperimentCurves curves = CurvesOf(settings, elements);
    const std::string measureSuffix = "_" + curves.measureUnit.suffix;
    std::size_t colour = 0;
    for (const Curve& curve : curves.others) {
        int axis = -1;
        if (EndsWith(curve.column, measureSuffix))
            axis = 0;
        else if (EndsWith(curve.column, "_pct"))
            axis = 1;
        if (axis < 0 || colour >= std::size(kColours)) continue;
        catalog.push_back({curve, '0', axis, kColours[colour++]});
    }
    return catalog;
}

}  // namespace banc::window
