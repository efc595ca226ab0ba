#pragma once

#include "tarvic/widgets/Element.h"

// A switch. Kinds 0 and 1 are two-position switches (1 mirrors 0), kind 2 a
// three-way switch (positions 0 middle, 1 up, 2 down), kind 3 a selector
// whose blade is absent in position 0. A click picks the position.
class TARVIC_EXPORT CInter : public CElement {
public:
    static constexpr unsigned short Type = 2;

    // An unknown kind is a kind-0 switch.
    CInter(int number, int kind, int x, int y);
    CInter(int number, const CRect& rect);

    void Draw(CDC* pDC) const override;
    CElement* Test(CPoint point) override;

    int LEtat() const { return m_position; }
    void EEtat(bool closed) { m_position = closed ? 1 : 0; }
    int LKind() const { return m_kind; }

private:
    int m_position = 0;
    int m_kind;
};
