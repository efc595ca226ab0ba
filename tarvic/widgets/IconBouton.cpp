#include "tarvic/widgets/IconBouton.h"

#include <QPainter>

#include "tarvic/platform/PainterDC.h"
#include "tarvic/widgets/ButtonDrawing.h"
#include "tarvic/widgets/GdiScope.h"

CIconBouton::CIconBouton(QWidget* parent) : QPushButton(parent) {}

CIconBouton::~CIconBouton() = default;

void CIconBouton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CPainterDC dc(painter);
    DrawItem(&dc, CRect(0, 0, width(), height()));
}

void CIconBouton::DrawItem(CDC* pDC, const CRect& item) const
{
    if (pDC == nullptr || m_icone == 0) return;
    constexpr int iconSize = 32;
    // A negative number names no resource.
    const CIcon icon = tarvic::LoadIconResource(m_icone > 0 ? static_cast<unsigned>(m_icone) : 0, {iconSize, iconSize});
    {
        tarvic::ScopedBrush background(*pDC, m_etatBouton ? RGB(255, 0, 0) : RGB(255, 255, 255));
        pDC->Rectangle(item);
    }
    if (!icon.GetImage().isNull()) pDC->DrawIcon(item.left + 2, item.top + 1, icon, iconSize, iconSize);
}
