#include "window/PlotPicture.h"

#include <QImage>
#include <QPainter>

#include <tarvic/platform/PainterDC.h>

#include "engine/outputs/PlotImage.h"
#include "window/PlotView.h"

namespace banc::window {

std::string SavePlotPicture(PlotView& plot, const std::string& path)
{
    const int width = plot.LogicalWidth();
    QImage image(width, plot.LogicalHeight(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CPainterDC dc(painter);
        plot.Render(dc, width);
    }
    // The widget's next paint puts its own frame back.
    plot.update();
    return SavePicture(path, image);
}

}  // namespace banc::window
