#pragma once

#include <array>
#include <string>

#include "tarvic/widgets/Element.h"

// The response-time annotation of a plot: a titled box with the result, the
// column of the response time (x = a) and the rows of the final value and its
// tolerance band (y = b, c, d, from x = e to x = f).
class TARVIC_EXPORT CTempscp : public CElement {
public:
    static constexpr unsigned short Type = 12;

    // An empty box, to be assigned a constructed one.
    CTempscp();
    CTempscp(CPoint corner, std::string text, int a, int b, int c, int d, int e, int f);

    void Draw(CDC* pDC) const override;

private:
    std::string m_text;
    std::array<int, 6> m_marks{};  // a..f
};
