#pragma once

#include <string>
#include <utility>

#include "tarvic/widgets/Element.h"

// An indicator box showing a value, with an arrow down to what it feeds
// (not for element 253). A hidden box neither draws nor answers clicks.
class TARVIC_EXPORT CIndeBoite : public CElement {
public:
    static constexpr unsigned short Type = 12;

    CIndeBoite(int number, int x, int y, std::string label, int value);

    void Draw(CDC* pDC) const override;
    CElement* Test(CPoint point) override;
    using CElement::MisAJour;
    void MisAJour(std::string value) { m_valeurTexte = std::move(value); }
    void ModeAffiche(bool shown) { m_affiche = shown; }

    bool LAffiche() const { return m_affiche; }
    const std::string& LValeurTexte() const { return m_valeurTexte; }
    // What the caller attached; the drawing does not use them.
    const std::string& LLabel() const { return m_label; }
    int LValeur() const { return m_valeur; }

private:
    int m_valeur;
    std::string m_label;
    bool m_affiche = true;
    std::string m_valeurTexte;
};
