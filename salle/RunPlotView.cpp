#include "salle/RunPlotView.h"

#include <QPainter>

#include <tarvic/platform/PainterDC.h>

#include <algorithm>

#include "engine/outputs/PlotImage.h"
#include "engine/outputs/Results.h"

namespace salle {

RunPlotView::RunPlotView(QWidget* parent) : QWidget(parent) {}

std::string RunPlotView::Load(const std::string& archive, const std::string& name)
{
    auto loaded = std::make_unique<banc::LoadedExperiment>();
    std::string error = banc::LoadArchiveBytes(archive, name, *loaded);
    m_loaded = error.empty() ? std::move(loaded) : nullptr;
    update();
    return error;
}

void RunPlotView::Draw(CDC& dc) const
{
    if (!m_loaded) return;
    banc::DrawPlot(dc, *m_loaded->elements.recording, banc::MakePlot(m_loaded->settings, m_loaded->elements));
}

QSize RunPlotView::sizeHint() const { return {banc::kImageFrame.width * 2 / 3, banc::kImageFrame.height * 2 / 3}; }

void RunPlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_loaded) return;
    // The whole picture, at the largest scale the widget holds.
    const double scale =
        std::min(width() / double(banc::kImageFrame.width), height() / double(banc::kImageFrame.height));
    painter.scale(scale, scale);
    CPainterDC dc(painter);
    Draw(dc);
}

}  // namespace salle
