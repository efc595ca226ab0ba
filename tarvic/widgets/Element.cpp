#include "tarvic/widgets/Element.h"

#include <algorithm>
#include <climits>
#include <cmath>

CElement::CElement(int number, const CRect& rect, unsigned short type) : m_rect(rect), m_type(type), m_number(number) {}

CElement::CElement(int number, unsigned short type) : m_type(type), m_number(number) {}

CElement::~CElement() = default;

CPoint CElement::LitPoint(int) { return {0, 0}; }

void CElement::Draw(CDC*) const {}

CElement* CElement::Test(CPoint point) { return Contains(point) ? this : nullptr; }

void CElement::MisAJour(CEidElement*) {}

bool CElement::Contains(CPoint point) const
{
    return point.x >= m_rect.left && point.x <= m_rect.right && point.y >= m_rect.top && point.y <= m_rect.bottom;
}

namespace {

// Drawing coordinates stay in the int range whatever the arguments.
int ClampToInt(double value)
{
    return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

void Fleche(CDC* pDC, CPoint tip, CPoint from, int length, int angle)
{
    if (pDC == nullptr || from == tip) return;
    const float theta = static_cast<float>(angle) * 3.14159f / 180.0f;
    // Wide enough that far-apart points and long strokes cannot overflow.
    const long long dx = static_cast<long long>(from.x) - tip.x;
    const long long dy = static_cast<long long>(from.y) - tip.y;
    const auto norm = static_cast<long long>(std::hypot(static_cast<double>(dx), static_cast<double>(dy)));
    const auto scaled = [&](long long d) { return static_cast<float>(static_cast<__int128>(d) * length / norm); };
    const float vx = scaled(dx);
    const float vy = scaled(dy);
    const auto stroke = [&](float a) {
        const float c = std::cos(a);
        const float s = std::sin(a);
        return CPoint(ClampToInt(tip.x + std::trunc(static_cast<double>(vx * c - vy * s))),
                      ClampToInt(tip.y + std::trunc(static_cast<double>(vx * s + vy * c))));
    };
    const CPoint points[] = {stroke(theta), tip, stroke(-theta)};
    pDC->Polyline(points, 3);
}
