#pragma once

#include "tarvic/platform/DC.h"
#include "tarvic/platform/Export.h"
#include "tarvic/platform/Object.h"

class CEidElement;

// One item of a bench's synoptic view or of a plot's annotations: its
// rectangle, the number the caller identifies it by and its kind. The caller
// keeps the list, draws every element on repaint and hit-tests them on a
// click.
class TARVIC_EXPORT CElement : public CObject {
public:
    CElement(int number, const CRect& rect, unsigned short type);
    // The derived class sets the rectangle.
    CElement(int number, unsigned short type);
    ~CElement() override;

    virtual CPoint LitPoint(int n);
    virtual void Draw(CDC* pDC) const;
    // The element under the point (edges included), or null.
    virtual CElement* Test(CPoint point);
    // No synoptic element takes anything from a bench element; kept for callers.
    virtual void MisAJour(CEidElement* element);

    CRect GetRect() const { return m_rect; }
    unsigned short LType() const { return m_type; }
    int LNumber() const { return m_number; }

protected:
    bool Contains(CPoint point) const;

    CRect m_rect;
    unsigned short m_type;
    int m_number;
};

// Draws an arrowhead at `tip` whose two strokes, `length` long and `angle`
// degrees either side of the shaft, lean back towards `from`. Nothing is
// drawn when `from` is the tip itself (there is no direction).
TARVIC_EXPORT void Fleche(CDC* pDC, CPoint tip, CPoint from, int length, int angle);
