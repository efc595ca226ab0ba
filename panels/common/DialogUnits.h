#pragma once

#include <QFont>
#include <QSize>

#include "PanelVariant.h"

// The 8-point face of the original dialog templates, or the nearest the
// machine has.
QFont DialogFont();

// Pixels of a size given in dialog units of `font`: a horizontal unit is a
// quarter of the average character width, a vertical one an eighth of the
// character height, so the window scales with the font (and so with the DPI).
QSize DialogUnitsToPixels(const QFont& font, DialogUnits units);
