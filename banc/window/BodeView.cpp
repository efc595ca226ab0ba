#include "window/BodeView.h"

#include <QImage>
#include <QPainter>

#include <tarvic/platform/PainterDC.h>

#include <algorithm>
#include <cmath>

#include "engine/outputs/PlotImage.h"
#include "window/PlotDC.h"

namespace banc::window {
namespace {

// No text smaller than the time plot's, once scaled down to the widget.
constexpr double kReadableText = 16;
constexpr int kPreferredWidth = 1100;

BodeContent Empty()
{
    BodeContent content;
    content.title = "\\gR\xE9ponse fr\xE9quentielle";
    content.legend = "Pas encore de diagramme : Essai, R\xE9ponse fr\xE9quentielle, en boucle ouverte.";
    return content;
}

}  // namespace

BodeView::BodeView(QWidget* parent) : QWidget(parent) { setMinimumSize(320, 240); }

QSize BodeView::sizeHint() const { return {kPreferredWidth, kHeight}; }

void BodeView::Show(BodeContent content)
{
    m_content = std::move(content);
    update();
}

double BodeView::Scale() const { return std::min(1.0, static_cast<double>(height()) / kHeight); }

int BodeView::LogicalWidth() const { return static_cast<int>(width() / Scale()); }

void BodeView::Render(CDC& target, int logicalWidth, double scale)
{
    m_frame = BodeFrameFor(logicalWidth, kHeight);
    PlotDC dc(target);
    dc.SetSmallestText(static_cast<int>(std::ceil(kReadableText / scale)));
    DrawBode(dc, m_content ? *m_content : Empty(), m_frame);
}

void BodeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const double scale = Scale();
    painter.scale(scale, scale);
    CPainterDC dc(painter);
    Render(dc, LogicalWidth(), scale);
}

std::string SaveBodePicture(BodeView& view, const std::string& path)
{
    const int width = view.LogicalWidth();
    QImage image(width, BodeView::kHeight, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CPainterDC dc(painter);
        view.Render(dc, width);
    }
    view.update();
    return SavePicture(path, image);
}

}  // namespace banc::window
