#include "salle/TrendView.h"

#include <QPainter>

#include <tarvic/platform/PainterDC.h>

#include "salle/TrendDrawing.h"

namespace salle {
namespace {

// The live plot's room for its value labels on the left and its legend under it.
constexpr int kLiveLeft = 70, kLiveRight = 16, kLiveTop = 12, kLiveUnder = 80;

}  // namespace

TrendView::TrendView(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendView::Show(std::vector<Trend> trends, COLORREF colour, Clock::time_point now)
{
    m_trends = std::move(trends);
    m_colour = colour;
    m_now = now;
    update();
}

void TrendView::Draw(CDC& dc, QSize size) const
{
    dc.FillSolidRect(CRect(0, 0, size.width(), size.height()), RGB(255, 255, 255));
    if (m_kind == Kind::Tile) {
        if (!m_trends.empty())
            DrawTrend(dc, m_trends.front(), m_colour, CRect(1, 1, size.width() - 2, size.height() - 2), m_now);
        return;
    }
    DrawLivePlot(dc, m_trends, CRect(kLiveLeft, kLiveTop, size.width() - kLiveRight, size.height() - kLiveUnder),
                 m_now);
}

QSize TrendView::sizeHint() const { return m_kind == Kind::Tile ? QSize(240, 44) : QSize(640, 360); }

void TrendView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CPainterDC dc(painter);
    Draw(dc, size());
}

}  // namespace salle
