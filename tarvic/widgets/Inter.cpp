#include "tarvic/widgets/Inter.h"

#include <cmath>
#include <vector>

#include "tarvic/widgets/GdiScope.h"
#include "tarvic/widgets/SynopticDraw.h"

namespace {

int KnownKind(int kind) { return kind >= 0 && kind <= 3 ? kind : 0; }

CRect KindRect(int kind, int x, int y)
{
    switch (kind) {
    case 1: return {x, y - 18, x + 22, y + 7};
    case 2: return {x, y - 18, x + 13, y + 18};
    case 3: return {x, y - 22, x + 20, y + 22};
    default: return {x, y - 11, x + 20, y + 7};
    }
}

void DrawPolyline(CDC& dc, const std::vector<CPoint>& points)
{
    dc.Polyline(points.data(), static_cast<int>(points.size()));
}

// The two-position blades; `side` is the fixed end, `step` +1 when the blade
// opens to the right, -1 when mirrored, `far` the other end.
void DrawLever(CDC& dc, int side, int step, int far, int top, int bottom, bool closed)
{
    const int pivot = side + 5 * step;
    const int contact = side + 15 * step;
    const int wire = bottom - 2;
    if (closed) {
        DrawPolyline(dc, {{side, wire}, {pivot, wire}, {contact, bottom - 6}, {contact, wire}, {far, wire}});
        return;
    }
    // Kind 0 opens its blade above the contact, the mirrored kind above its pivot.
    DrawPolyline(dc, {{side, wire}, {pivot, wire}, {step > 0 ? contact : pivot, top}});
    DrawPolyline(dc, {{contact, bottom - 6}, {contact, wire}, {far, wire}});
}

}  // namespace

CInter::CInter(int number, int kind, int x, int y)
    : CElement(number, KindRect(KnownKind(kind), x, y), Type), m_kind(KnownKind(kind))
{
}

CInter::CInter(int number, const CRect& rect) : CElement(number, rect, Type), m_kind(0) {}

void CInter::Draw(CDC* pDC) const
{
    if (pDC == nullptr) return;
    pDC->FillSolidRect(m_rect, RGB(255, 217, 255));
    const bool red = m_position == 1 && m_kind != 2;
    tarvic::ScopedPen pen(*pDC, PS_SOLID, 2, red ? RGB(255, 0, 0) : RGB(0, 0, 255));
    const auto [l, t, r, b] = m_rect;
    const int m = (t + b) / 2;
    switch (m_kind) {
    case 0: DrawLever(*pDC, l, 1, r, t, b, m_position == 1); break;
    case 1: DrawLever(*pDC, r, -1, l, t, b, m_position == 1); break;
    case 2: {
        const CPoint ends[] = {{r, m}, {r - 2, t}, {r - 2, b}};
        if (m_position >= 0 && m_position <= 2) tarvic::DrawSegment(*pDC, {{l, m}, ends[m_position]});
        break;
    }
    default: {
        const CPoint ends[] = {{r - 2, t}, {r, m}, {r - 2, b}};
        if (m_position >= 1 && m_position <= 3) tarvic::DrawSegment(*pDC, {{l, m}, ends[m_position - 1]});
        break;
    }
    }
}

CElement* CInter::Test(CPoint point)
{
    if (!Contains(point)) return nullptr;
    const auto [l, t, r, b] = m_rect;
    const int m = (t + b) / 2;
    const auto distance = [&](int row) { return std::fabs(static_cast<float>(point.y) - static_cast<float>(row)); };
    const float dt = distance(t);
    const float dm = distance(m);
    const float db = distance(b);
    switch (m_kind) {
    case 0:
    case 1: m_position = m_position == 1 ? 0 : 1; break;
    case 2:
        if (db < dt && db < dm)
            m_position = 2;
        else if (dt < dm && dt < db)
            m_position = 1;
        else
            m_position = 0;
        break;
    default:
        if (point.x < (l + r) / 2)
            m_position = 0;
        else if (dm < dt && dm < db)
            m_position = 2;
        else if (dt < db && dt < dm)
            m_position = 1;
        else
            m_position = 3;
        break;
    }
    return this;
}
