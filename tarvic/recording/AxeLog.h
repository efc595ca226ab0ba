#pragma once

#include <string>
#include <vector>

#include "tarvic/platform/DC.h"
#include "tarvic/platform/Export.h"
#include "tarvic/platform/Object.h"

// A horizontal logarithmic axis of a plot, the frequency axis of a frequency
// response: equal ratios take equal widths. It maps values to pixel columns
// and back, lists its decades and their graduations for a grid, and draws a
// label under each decade and its unit. The fields are the caller's to set.
//
// Columns are rounded to the nearest, so that a decade falls on its column
// whatever the rounding of the logarithms. A range without a logarithm
// (m_min <= 0 or m_max <= m_min) gives m_pixGauche and no decade; with
// m_pixDroite == m_pixGauche, ConvFloatInt gives m_min.
class TARVIC_EXPORT CAxeLog : public CObject {
public:
    CAxeLog() = default;
    CAxeLog(int pixGauche, int pixDroite, float min, float max, std::string unite, int posY, bool visible);

    // Pixel column of the value, clamped to the range first.
    int ConvIntFloat(float v) const;
    // Value at the pixel column; not clamped.
    float ConvFloatInt(int column) const;
    // The powers of ten within the range, ascending.
    std::vector<float> Decades() const;
    // 1 to 9 times the powers of ten within the range, ascending: the grid.
    std::vector<float> Graduations() const;
    // True when the column lies between m_pixGauche and m_pixDroite, both included.
    bool TestPoint(CPoint point) const;
    // Widens the range to the decades that enclose it, one decade at least.
    void AjusteDecades();
    // The label of a decade: 0.001 to 1000 written out, 10 to the power beyond.
    static std::string TexteDecade(float decade);
    // Each decade's label centred under its column at m_posY, the unit after the right end.
    void Draw(CDC* pDC) const;

    bool m_visible = true;
    int m_posY = 0;  // row of the labels' tops
    std::string m_unite = "Hz";
    int m_pixGauche = 0;
    int m_pixDroite = 100;
    float m_min = 1.0f;
    float m_max = 10.0f;

private:
    bool HasLogarithm() const;
    // The exponents of the decades within the range.
    int FirstExponent() const;
    int LastExponent() const;
};
