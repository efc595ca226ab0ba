#pragma once

#include <QFont>
#include <QString>
#include <string_view>

#include "tarvic/platform/Export.h"
#include "tarvic/platform/Gdi.h"
#include "tarvic/platform/Geometry.h"

// How a logical font becomes a Qt font, and its texts Qt strings. The faces
// the drawing code asks for are mapped onto free metric-compatible faces:
// "Times New Roman" onto Liberation Serif, "Symbol" onto the Type 1 cut of
// Standard Symbols PS (also "Arial", "Courier New" and "MS Sans Serif" onto
// the Liberation faces). The mapping is a table of ours, so it needs no
// fontconfig set-up and behaves the same on screen and offscreen. Fonts need
// a QGuiApplication.
namespace tarvic {

// The Qt font of a logical font: a positive height is the cell height, scaled
// to the face's em; the width sets the stretch so that the face's average
// character width becomes that width; weight, italic, underline, strike-out,
// quality (antialiasing) and family (style hint) are honoured.
TARVIC_EXPORT QFont QFontFromLogFont(const LOGFONT& font);

// True for the symbol face or the symbol character set: their texts are in
// the symbol encoding (0xF2 is the integral sign, "a" is alpha).
TARVIC_EXPORT bool IsSymbolFont(const LOGFONT& font);

// The text as Qt draws it: Latin-1, or the symbol encoding mapped to Unicode.
TARVIC_EXPORT QString QStringForFont(std::string_view text, const LOGFONT& font);

// Advance width and cell height of the text in the Qt font of the logical
// font. Without a QGuiApplication there is no font database: FixedTextExtent.
TARVIC_EXPORT CSize FontTextExtent(const LOGFONT& font, std::string_view text);

// Font-independent metrics for exact tests: the cell height is the height
// (16 when 0), every character advances the logical width (half the height
// when 0), one more in a bold font (weight 600 and above).
TARVIC_EXPORT CSize FixedTextExtent(const LOGFONT& font, std::string_view text);

}  // namespace tarvic
