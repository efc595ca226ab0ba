#include "window/SynopticView.h"

#include <QMouseEvent>
#include <QPainter>

#include <tarvic/platform/PainterDC.h>

#include <algorithm>
#include <cmath>

namespace banc::window {

SynopticView::SynopticView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(Synoptic::kWidth / 2, Synoptic::kHeight / 2);
}

QSize SynopticView::sizeHint() const { return {Synoptic::kWidth, Synoptic::kHeight}; }

double SynopticView::Scale() const
{
    return std::min(static_cast<double>(width()) / Synoptic::kWidth, static_cast<double>(height()) / Synoptic::kHeight);
}

QPoint SynopticView::ToWidget(CPoint logical) const
{
    const double scale = Scale();
    return {static_cast<int>(std::lround(logical.x * scale)), static_cast<int>(std::lround(logical.y * scale))};
}

CPoint SynopticView::ToLogical(QPoint point) const
{
    const double scale = Scale();
    return {static_cast<int>(std::floor(point.x() / scale)), static_cast<int>(std::floor(point.y() / scale))};
}

void SynopticView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.scale(Scale(), Scale());
    CPainterDC dc(painter);
    m_synoptic.Draw(dc);
}

void SynopticView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const int number = m_synoptic.Hit(ToLogical(event->position().toPoint()));
    update();
    if (number != 0) emit itemClicked(number);
}

}  // namespace banc::window
