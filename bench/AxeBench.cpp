// Cost of one plot frame: a value axis with its eleven labels and unit, and a
// 640-point curve, drawn into an image through the painter device context;
// the same frame on the recording context shows what the drawing code itself
// costs without rasterising.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <vector>

#include "support/GuiApplication.h"
#include "tarvic/platform/PainterDC.h"
#include "tarvic/platform/RecordingDC.h"
#include "tarvic/recording/Axe.h"
#include "tarvic/recording/AxeTemps.h"

namespace {

constexpr int points = 640;

struct Plot {
    CAxe axe{675, 75, -10.0f, 110.0f, "\\c1\xB0" "C", 10, true, 1};
    CAxeTemps temps;
    std::vector<float> values;

    Plot()
    {
        temps.m_fenetre = points;
        temps.m_pixGauche = 60;
        temps.m_pixDroite = 60 + points;
        temps.Calcul();
        for (int i = 0; i < points; ++i) values.push_back(50.0f + 45.0f * std::sin(static_cast<float>(i) / 40.0f));
    }

    void Draw(CDC& dc) const
    {
        axe.Draw(&dc);
        std::vector<CPoint> curve;
        curve.reserve(values.size());
        for (int i = 0; i < points; ++i) {
            const float value = values[static_cast<std::size_t>(i)];
            curve.emplace_back(temps.calculpx(temps.m_premier + i), axe.ConvIntFloat(value));
        }
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CPen* old = dc.SelectObject(&pen);
        dc.Polyline(curve.data(), static_cast<int>(curve.size()));
        dc.SelectObject(old);
    }
};

void BM_AxisAndCurveIntoImage(benchmark::State& state)
{
    tarvic::test::RequireGuiApplication();
    const Plot plot;
    QImage image(720, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        CPainterDC dc(painter);
        plot.Draw(dc);
    }
    benchmark::DoNotOptimize(image.constBits());
    state.SetLabel("time per frame");
}
BENCHMARK(BM_AxisAndCurveIntoImage)->Unit(benchmark::kMicrosecond);

void BM_AxisAndCurveRecorded(benchmark::State& state)
{
    const Plot plot;
    for (auto _ : state) {
        CRecordingDC dc;
        plot.Draw(dc);
        benchmark::DoNotOptimize(dc.Calls().data());
    }
}
BENCHMARK(BM_AxisAndCurveRecorded)->Unit(benchmark::kMicrosecond);

}  // namespace

// Fonts need a QGuiApplication, made by the first image benchmark.
BENCHMARK_MAIN();
