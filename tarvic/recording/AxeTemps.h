#pragma once

#include "tarvic/platform/Export.h"
#include "tarvic/platform/Geometry.h"
#include "tarvic/platform/Object.h"

// The time axis of a plot: chooses which span of recorded points is visible
// (Calcul) and maps point indices and times to pixel columns. The fields are
// the caller's to set and read.
//
// Degenerate spans give defined results instead of dividing by zero: a zoom
// of 0 counts as 1; with m_dernier == m_premier, calculpx and ConvIntFloat give
// m_pixGauche; with m_pixDroite == m_pixGauche, CalculRang(int) gives
// m_premier; with a sample period of 0, CalculRang(float) gives 0 and
// ConvIntFloat m_pixGauche. Integer results beyond the int range are clamped
// to it; a float result out of range gives INT32_MIN (tarvic::TruncateToInt).
class TARVIC_EXPORT CAxeTemps : public CObject {
public:
    CAxeTemps() = default;

    // Scroll count, first and last visible point from the acquisition state.
    void Calcul();
    int calculpx(int index) const;
    int CalculRang(int column) const;
    int CalculRang(float seconds) const;
    int ConvIntFloat(float seconds) const;
    int PasInt() const;
    // True when left <= x < right.
    bool TestPoint(CPoint point) const;

    float m_pasTemps = 10.0f;  // label time step, kept for the caller
    int m_nbDecal = 0;         // tenth-of-window steps scrolled (Calcul)
    int m_blocAcquis = 0;
    int m_cyclesAcquis = 0;
    int m_reserve = 0;
    float m_periode = 1.0f;  // milliseconds per point
    int m_fenetre = 0;       // points visible at zoom 1
    int m_zoom = 1;
    int m_offset = 0;   // extra scroll, in tenths of the window
    int m_premier = 0;  // first visible point (Calcul)
    int m_dernier = 0;  // last visible point (Calcul)
    int m_pixGauche = 0;
    int m_pixDroite = 0;
};
