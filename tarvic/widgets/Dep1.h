#pragma once

#include <array>
#include <string>

#include "tarvic/widgets/Element.h"

// The overshoot annotation of a plot: a titled box with the result, the
// columns of the two instants (x = a and b) and the row of the peak (y = c,
// from x = d to x = e).
class TARVIC_EXPORT CDep1 : public CElement {
public:
    static constexpr unsigned short Type = 13;

    // An empty box, to be assigned a constructed one.
    CDep1();
    CDep1(CPoint corner, std::string text, int a, int b, int c, int d, int e);

    void Draw(CDC* pDC) const override;

private:
    std::string m_text;
    std::array<int, 5> m_marks{};  // a..e
};
