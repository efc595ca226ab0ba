#pragma once

#include "tarvic/platform/DC.h"

// Scoped selection of drawing objects: every drawing of the synoptic elements
// and buttons leaves the device context with the objects it found.
namespace tarvic {

// Selects the object until the end of the scope, then re-selects the one it
// replaced. The object must outlive the scope.
template <class Object>
class ScopedSelection {
public:
    ScopedSelection(CDC& dc, Object* object) : m_dc(dc), m_previous(dc.SelectObject(object)) {}
    ~ScopedSelection()
    {
        if (m_previous != nullptr) m_dc.SelectObject(m_previous);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    CDC& m_dc;
    Object* m_previous;
};

// A pen made for one drawing and selected while it lasts.
class ScopedPen {
public:
    ScopedPen(CDC& dc, int style, int width, COLORREF color) : m_pen(style, width, color), m_selection(dc, &m_pen) {}

private:
    CPen m_pen;
    ScopedSelection<CPen> m_selection;
};

// A solid brush made for one drawing and selected while it lasts.
class ScopedBrush {
public:
    ScopedBrush(CDC& dc, COLORREF color) : m_brush(color), m_selection(dc, &m_brush) {}

private:
    CBrush m_brush;
    ScopedSelection<CBrush> m_selection;
};

// The one-pixel black pen of the synoptic drawings.
class ScopedBlackPen : public ScopedPen {
public:
    explicit ScopedBlackPen(CDC& dc) : ScopedPen(dc, PS_SOLID, 1, RGB(0, 0, 0)) {}
};

}  // namespace tarvic
