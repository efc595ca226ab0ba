#include "window/PlotCursor.h"

#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include <algorithm>

namespace banc::window {

std::optional<CursorReading> SnapCursor(const CEnregistrement& recording, const std::vector<PlotCurve>& shown,
                                        const CAxe (&axes)[2], const CAxeTemps& time, int points, int periodMs,
                                        CPoint point)
{
    if (!time.TestPoint(point) || !axes[0].TestPoint(point)) return std::nullopt;
    const int index = time.CalculRang(point.x);
    if (index < 0 || index >= points) return std::nullopt;
    CursorReading reading;
    reading.index = index;
    reading.seconds = static_cast<float>(index) * static_cast<float>(periodMs) / 1000.0f;
    reading.at = CPoint(time.calculpx(index), point.y);
    for (int axis = 0; axis < 2; ++axis) {
        // The click's value in the recording's own values, through the axis's first curve.
        const auto first =
            std::find_if(shown.begin(), shown.end(), [axis](const PlotCurve& c) { return c.axis == axis; });
        if (first == shown.end() || first->curve.scale == 0) continue;
        float value = (axes[axis].ConvFloatInt(point.y) - first->curve.offset) / first->curve.scale;
        if (!recording.RecherchePoint(index, value)) continue;
        // The curve found is the first of the selection holding that value.
        for (int i = 0; i < recording.LitParam(0); ++i) {
            const int code = recording.LitNum(i);
            if (recording.LitPoint(code, index) != value) continue;
            const auto curve =
                std::find_if(shown.begin(), shown.end(), [code](const PlotCurve& c) { return c.curve.code == code; });
            if (curve == shown.end()) break;
            reading.curve = *curve;
            reading.value = curve->curve.Value(recording, index);
            reading.at = CPoint(time.calculpx(index), axes[curve->axis].ConvIntFloat(reading.value));
            return reading;
        }
    }
    return reading;
}

std::optional<CPoint> CursorPoint(const CursorReading& reading, const CAxe (&axes)[2], const CAxeTemps& time)
{
    if (reading.index < time.m_premier || reading.index > time.m_dernier) return std::nullopt;
    const int row = reading.curve ? axes[reading.curve->axis].ConvIntFloat(reading.value) : reading.at.y;
    return CPoint(time.calculpx(reading.index), row);
}

std::string CursorText(const CursorReading& reading, const PlotContent& content)
{
    std::string text = tarvic::Format("t = %.2f s", double{reading.seconds});
    if (reading.curve)
        text += tarvic::Format(" ; %s = %.2f %s", reading.curve->curve.label.c_str(), double{reading.value},
                               content.axes[reading.curve->axis].unit.c_str());
    return text;
}

}  // namespace banc::window
