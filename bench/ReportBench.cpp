// The lab report of a kept run: its two pages laid out and drawn through the
// PDF writer (fonts embedded), the bytes of the file in memory, no disk.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>

#include "TwentyBlockRun.h"
#include "report/Report.h"
#include "report/ReportPrinter.h"

namespace {

// A kept run of 20 blocks, as the history gives it back.
struct KeptRun : TwentyBlockRun {
    KeptRun()
    {
        stored.number = 12;
        stored.startedAt = "2026-12-08 15:04:05";
        stored.user = "eleve";
        stored.host = "poste";
        stored.summary = "PID Kp 2 Ti 20 s";
        stored.comment = "Un commentaire d'une ligne.";
    }
    banc::history::StoredRun stored;
};

void BM_RenderTwoPageReport(benchmark::State& state)
{
    KeptRun run;
    std::size_t bytes = 0;
    int pages = 0;
    for (auto _ : state) {
        const banc::report::Document document = banc::report::Measured(
            [&](CDC& dc) { return banc::report::RunDocument(dc, run.stored, run.settings, run.elements); });
        pages = static_cast<int>(banc::report::LayOut(document.blocks).size());
        const std::string pdf = banc::report::PdfBytes(document);
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.counters["pages"] = pages;
    state.counters["octets"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderTwoPageReport)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // Fonts and painting need a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
