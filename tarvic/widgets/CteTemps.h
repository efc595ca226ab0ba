#pragma once

#include <string>

#include "tarvic/widgets/Element.h"

// The time-constant annotation of a plot: a titled box with the result.
class TARVIC_EXPORT CCteTemps : public CElement {
public:
    static constexpr unsigned short Type = 11;

    // An empty box, to be assigned a constructed one.
    CCteTemps();
    CCteTemps(CPoint corner, std::string text);

    void Draw(CDC* pDC) const override;

private:
    std::string m_text;
};
