#pragma once

#include <string>

#include "tarvic/platform/DC.h"
#include "tarvic/platform/Export.h"
#include "tarvic/platform/Object.h"

// A vertical value axis of a plot: maps values to pixel rows and back, and
// draws its eleven graduation labels and its unit. The range is divided in ten
// equal steps and never rounded. The fields are the caller's to set.
//
// Degenerate spans give defined results instead of dividing by zero: with
// m_min == m_max, ConvIntFloat gives m_pixMin; with m_pixMin == m_pixMax,
// ConvFloatInt gives m_min.
class TARVIC_EXPORT CAxe : public CObject {
public:
    CAxe() = default;
    CAxe(int pixMin, int pixMax, float min, float max, std::string unite, int posX, bool visible, int decimales);

    // Pixel row of the value, clamped to the range first.
    int ConvIntFloat(float v) const;
    // Value at the pixel row; not clamped.
    float ConvFloatInt(int row) const;
    int PasInt() const;
    float PasFloat() const;
    // True when the row lies between m_pixMax and m_pixMin, both included.
    bool TestPoint(CPoint point) const;
    // Widens the range by the percentage of its span on each side.
    void AjustePlage(float percent);
    // "12.50 mm" (first == 1) or ", 12.50 mm" for the value at the row; empty
    // when hidden. Decimals outside 0 .. 20 are taken as the nearer bound.
    std::string UniteValeur(int row, int first) const;
    void Draw(CDC* pDC) const;

    bool m_visible = true;
    int m_decimales = 0;
    int m_posX = 0;
    std::string m_unite = "inc";
    int m_pixMin = 0;
    int m_pixMax = 100;
    float m_min = 0.0f;
    float m_max = 100.0f;
};
