#include "tarvic/widgets/Element.h"

#include <cmath>

CElement::CElement(int number, const CRect& rect, unsigned short type) : m_rect(rect), m_type(type), m_number(number)
{
}

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

void Fleche(CDC* pDC, CPoint tip, CPoint from, int length, int angle)
{
    if (pDC == nullptr || from == tip) return;
    const float theta = static_cast<float>(angle) * 3.14159f / 180.0f;
    // 64-bit so that far-apart points cannot overflow the squares or products.
    const long long dx = static_cast<long long>(from.x) - tip.x;
    const long long dy = static_cast<long long>(from.y) - tip.y;
    const auto norm = static_cast<long long>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    const auto vx = static_cast<float>(dx * length / norm);
    const auto vy = static_cast<float>(dy * length / norm);
    const auto stroke = [&](float a) {
        const float c = std::cos(a);
        const float s = std::sin(a);
        return CPoint(tip.x + static_cast<int>(vx * c - vy * s), tip.y + static_cast<int>(vx * s + vy * c));
    };
    const CPoint points[] = {stroke(theta), tip, stroke(-theta)};
    pDC->Polyline(points, 3);
}
