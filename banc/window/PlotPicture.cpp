#include "window/PlotPicture.h"

#include <QImage>
#include <QPainter>

#include <tarvic/platform/PainterDC.h>
#include <tarvic/platform/Text.h>

#include "window/PlotView.h"

namespace banc::window {

std::string SavePlotPicture(PlotView& plot, const std::string& path)
{
    const int width = plot.LogicalWidth();
    QImage image(width, PlotView::kHeight, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CPainterDC dc(painter);
        plot.Render(dc, width);
    }
    // The widget's next paint puts its own frame back.
    plot.update();
    if (!image.save(QString::fromLocal8Bit(path.c_str()), "PNG"))
        return tarvic::Format("Impossible d'\xE9" "crire l'image %s.", path.c_str());
    return {};
}

}  // namespace banc::window
