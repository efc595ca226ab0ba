#pragma once

#include <string>

#include "tarvic/widgets/Element.h"

// A function block: a white rounded box with a shadow and its text.
class TARVIC_EXPORT CBoiteFonction : public CElement {
public:
    static constexpr unsigned short Type = 3;

    CBoiteFonction(int number, int left, int top, int right, int bottom, std::string text);

    void Draw(CDC* pDC) const override;
    using CElement::MisAJour;
    // A block has no parameters of its own to refresh.
    virtual int NbParam();
    virtual void MisAJour(int n, std::string value);

private:
    std::string m_text;
};
