#pragma once

#include <string>

#include "tarvic/widgets/Element.h"

// A push button of the synoptic view: red while active; each click on it
// toggles it.
class TARVIC_EXPORT CBouton : public CElement {
public:
    static constexpr unsigned short Type = 11;

    CBouton(int number, int left, int top, int right, int bottom, std::string caption, std::string second, int value);

    void Draw(CDC* pDC) const override;
    CElement* Test(CPoint point) override;

    bool LEtat() const { return m_actif; }
    void SetEtat(bool active) { m_actif = active; }
    // What the caller attached; the drawing does not use them.
    const std::string& LTexte() const { return m_second; }
    int LValeur() const { return m_valeur; }

private:
    int m_valeur;
    std::string m_second;
    std::string m_caption;
    bool m_actif = false;
};
