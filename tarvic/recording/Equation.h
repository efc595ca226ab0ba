#pragma once

#include <string>
#include <string_view>

#include "tarvic/platform/DC.h"
#include "tarvic/platform/Export.h"
#include "tarvic/platform/Object.h"

// Draws a short formula or label: runs of text whose style the markup
// escapes choose (backslash c + colour code, e exponent, f + face code,
// g bold, i index, n normal), the integral sign "|", fractions written
// marker{numerator}separator{denominator}, and line breaks. The text is
// scanned once per drawing and every run drawn as soon as it ends.
//
// Text characters are letters, digits, + - . space = ( ) , % ' : / " and the
// Latin-1 letters (0xC0 to 0xFF but the signs 0xD7 and 0xF7, and 0xAA, 0xB5,
// 0xBA), with the degree sign 0xB0 for units. Any other byte ends the run and
// is not drawn. Markup that is cut short (a trailing backslash or escape, a
// fraction without its braces) draws what remains as plain text and never
// reads outside the text.
class TARVIC_EXPORT CEquation : public CObject {
public:
    CEquation(std::string text, CPoint position, int size);

    // Draws the whole text. keepColor false starts in black; true keeps the
    // context's text colour until a colour escape.
    void Draw(CDC* pDC, bool keepColor);
    // Horizontal advance of the text drawn as one line, measured with the
    // fonts the drawing would use; the font description is reset first.
    int LongEquation(CDC* pDC, const std::string& text);
    void InitFont();
    // '0' black, '1' blue, '2' red, '3' green, '4' light grey; other codes
    // leave the colour as it is.
    static void TextColor(CDC* pDC, int code);

private:
    enum class RunStyle { normal, index, exponent };

    void SelectNameFont(int code);
    void Affiche(CDC* pDC, std::string_view line, CPoint& at);
    // Scans one piece of markup from `at`, advancing its x; draws when asked,
    // otherwise only measures (and leaves the colour alone).
    void Scan(CDC* pDC, std::string_view line, CPoint& at, bool draw);
    // Selects a font made from `font`, measures the text (a zero extent
    // replaced as the drawings expect) and, when drawing, writes it at `at`
    // shifted down by its height / shiftDivisor (up for a negative divisor,
    // not at all for 0); re-selects the saved font; returns the advance.
    int Piece(CDC* pDC, const LOGFONT& font, std::string_view text, CPoint at, int shiftDivisor, bool draw);
    int Integral(CDC* pDC, CPoint at, bool draw);
    // Draws the fraction that starts with the "{" at `open`; false (and
    // nothing drawn) when its braces are missing.
    bool Fraction(CDC* pDC, std::size_t& next, std::size_t open, CPoint& at);
    int Measure(CDC* pDC, std::string_view text);
    void Normal();

    int m_size;
    std::string m_text;
    CPoint m_position;
    CFont* m_pOldFont = nullptr;
    LOGFONT m_logFont;
    RunStyle m_style = RunStyle::normal;
};
