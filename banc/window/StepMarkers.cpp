#include "window/StepMarkers.h"

#include <tarvic/platform/Text.h>
#include <tarvic/widgets/CteTemps.h>
#include <tarvic/widgets/Dep1.h>
#include <tarvic/widgets/Tempscp.h>

#include "engine/outputs/StepText.h"

namespace banc::window {
namespace {

// The boxes, one under the other at the frame's right.
constexpr int kBoxesFromRight = 150, kFirstBoxDown = 8, kBoxGap = 8;
constexpr int kShortBox = 40;
constexpr int kNoteInset = 8;

bool Visible(const CAxeTemps& time, int index) { return index >= time.m_premier && index <= time.m_dernier; }

// One line of text over the curves.
class Note : public CElement {
public:
    Note(CPoint at, std::string text) : CElement(0, CRect(at.x, at.y, at.x, at.y), 0), m_text(std::move(text)) {}
    void Draw(CDC* dc) const override
    {
        const int mode = dc->SetBkMode(TRANSPARENT);
        dc->TextOut(m_rect.left, m_rect.top, m_text);
        dc->SetBkMode(mode);
    }

private:
    std::string m_text;
};

}  // namespace

std::vector<std::unique_ptr<CElement>> StepMarkers(const StepFigures& figures, const std::string& verdict,
                                                   const CAxe& measureAxis, const CAxeTemps& time)
{
    std::vector<std::unique_ptr<CElement>> markers;
    if (figures.verdict != StepVerdict::Settled) {
        markers.push_back(
            std::make_unique<Note>(CPoint(time.m_pixGauche + kNoteInset, measureAxis.m_pixMax + kNoteInset), verdict));
        return markers;
    }
    const int x = time.m_pixDroite - kBoxesFromRight;
    int y = measureAxis.m_pixMax + kFirstBoxDown;
    const int step = time.calculpx(figures.stepIndex);
    const float final = *figures.final;
    if (Visible(time, *figures.settlingIndex)) {
        markers.push_back(
            std::make_unique<CTempscp>(CPoint(x, y), StepSeconds(*figures.settlingTime, figures.samplePeriod),
                                       time.calculpx(*figures.settlingIndex), measureAxis.ConvIntFloat(final),
                                       measureAxis.ConvIntFloat(final + figures.band),
                                       measureAxis.ConvIntFloat(final - figures.band), step, time.m_pixDroite));
        y += kShortBox + kBoxGap;
    }
    markers.push_back(
        std::make_unique<CCteTemps>(CPoint(x, y), StepSeconds(*figures.timeConstant, figures.samplePeriod)));
    y += kShortBox + kBoxGap;
    if (figures.overshoot && *figures.overshoot > 0 && Visible(time, figures.peakIndex)) {
        const int peak = time.calculpx(figures.peakIndex);
        markers.push_back(std::make_unique<CDep1>(CPoint(x, y), tarvic::Format("%.1f %%", double{*figures.overshoot}),
                                                  step, peak, measureAxis.ConvIntFloat(figures.peak), step, peak));
    }
    return markers;
}

}  // namespace banc::window
