#pragma once

#include <QPalette>
#include <string>

#include "tarvic/platform/DC.h"

// What the owner-drawn buttons draw besides their own content: the system's
// button colours, frames, focus rectangle, the disabled (embossed) look, and
// the application's icons by number.
namespace tarvic {

struct ButtonColors {
    COLORREF face;
    COLORREF highlight;   // lit edge
    COLORREF light;       // inner lit edge
    COLORREF shadow;      // inner shaded edge, disabled ink
    COLORREF darkShadow;  // outer shaded edge
    COLORREF text;

    // From the widget's palette: Button, Light, Midlight, Dark, Shadow,
    // ButtonText.
    static ButtonColors FromPalette(const QPalette& palette);
};

COLORREF ColorRefOf(const QColor& color);

// The push-button frame, two pixels deep: raised, or sunken when pushed.
void DrawPushFrame(CDC& dc, const CRect& rect, bool pushed, const ButtonColors& colors);
// One-pixel frame inside the rectangle.
void DrawFrame(CDC& dc, const CRect& rect, COLORREF color);
// The dotted rectangle of the keyboard focus.
void DrawFocusRect(CDC& dc, const CRect& rect);
// Embossed text and icon: once one pixel down-right in the highlight colour,
// then in place in the shadow colour.
void DrawDisabledText(CDC& dc, CPoint at, const std::string& text, const ButtonColors& colors);
void DrawDisabledIcon(CDC& dc, CPoint at, const CIcon& icon, CSize size, const ButtonColors& colors);

// The application's icon of that number: the Qt resource ":/icons/<id>"
// (with one of the usual image suffixes, or none), else the theme icon named
// by the number, rendered at the size (32 for a dimension of 0). A missing
// icon, or number 0, gives an icon with no image.
CIcon LoadIconResource(unsigned id, CSize size);

}  // namespace tarvic
