#pragma once

#include <string>
#include <utility>

#include "tarvic/widgets/Element.h"

// A probe and the box that shows its value. Three forms: a probe box at a
// point; a box hanging under a probe point on a stem; a callout, a box of
// text with a leader line and an arrowhead pointing at the anchor.
class TARVIC_EXPORT CSonde : public CElement {
public:
    static constexpr unsigned short Type = 10;

    // The box around (x, y); the anchor is the box's centre.
    CSonde(int number, int x, int y, std::string label, int value);
    // The box under the anchor.
    CSonde(int number, CPoint anchor, std::string label, int value);
    // A callout: the box beside `box` (on the side away from the anchor), its
    // height and width fitted to a text of one or two lines.
    CSonde(CPoint anchor, CPoint box, std::string text);

    void Draw(CDC* pDC) const override;
    CElement* Test(CPoint point) override;
    using CElement::MisAJour;
    void MisAJour(std::string value) { m_valeurTexte = std::move(value); }

    const std::string& LValeurTexte() const { return m_valeurTexte; }
    CPoint LAncre() const { return m_ancre; }
    // What the caller attached; the drawing does not use them.
    const std::string& LLabel() const { return m_label; }
    int LValeur() const { return m_valeur; }

private:
    std::string m_valeurTexte;
    CPoint m_ancre;
    std::string m_label;
    int m_valeur;
    bool m_callout = false;
};
