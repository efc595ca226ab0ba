#pragma once

#include <string>

#include "tarvic/widgets/Element.h"

// A measurement point: a ring around its centre, filled with a dot of the
// lit colour when lit, and its label above.
class TARVIC_EXPORT CMesure : public CElement {
public:
    static constexpr unsigned short Type = 1;

    CMesure(int number, int x, int y, std::string label, std::string second, int value);
    // Centred on the rectangle's centre.
    CMesure(int number, const CRect& rect, std::string label);

    CPoint LitPoint(int n) override;
    void Draw(CDC* pDC) const override;

    bool LEtat() const { return m_allume; }
    void EEtat(bool lit) { m_allume = lit; }
    void ModifEtat() { m_allume = !m_allume; }
    void SetColor(COLORREF color) { m_couleur = color; }
    // What the caller attached; the drawing does not use them.
    const std::string& LTexte() const { return m_second; }
    int LValeur() const { return m_valeur; }

private:
    std::string m_label;
    CPoint m_centre;
    bool m_allume = false;
    COLORREF m_couleur = RGB(0, 255, 0);
    std::string m_second;
    int m_valeur = 0;
};
