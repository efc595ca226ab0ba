// The bench console's window: the redraw of its plot with 16 curves over 20
// blocks at 1920 pixels, on the library's axes and the painter's device
// context (the engine's drawing alone, and the window's plot with the curves
// it offers), and the processor time the window takes while it only watches
// the simulated card (its three threads: the window's, the session's and the
// serial line's; the card itself is another process).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <stdlib.h>

#include <cstdio>
#include <ctime>
#include <filesystem>

#include "engine/outputs/PlotImage.h"
#include "engine/outputs/Results.h"
#include "engine/run/Setup.h"
#include "tarvic/platform/IniProfile.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/PainterDC.h"
#include "tarvic/platform/Text.h"
#include "tarvic/platform/Trace.h"
#include "window/BenchWindow.h"
#include "window/CurveList.h"
#include "window/PlotView.h"

namespace {

constexpr int kBlocks = 20;
constexpr int kCurves = 16;
constexpr int kWidth = 1920;
constexpr double kIdleSeconds = 5;

// The window's own event loop, as the program runs it, for a while.
void RunEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A block line as the card sends it, every row of point p holding a wave of its own.
std::string BlockLine(int block)
{
    std::string line = tarvic::Format("!TSF%02X", block);
    for (int point = 0; point < 32; ++point)
        for (int row = 0; row < 16; ++row) {
            const int index = block * 32 + point;
            line += tarvic::Format("%04X", (row * 200 + (index * (row + 1)) % 1500) & 0x7FF);
        }
    return line + "00";
}

void Fill(CEnregistrement& recording)
{
    recording.SetStart(true);
    for (int block = 0; block < kBlocks; ++block) recording.TraitRecept(BlockLine(block));
}

// A temporary folder for the window's profiles.
struct Folder {
    Folder()
    {
        char pattern[] = "/tmp/banc-window-bench-XXXXXX";
        path = ::mkdtemp(pattern) ? pattern : "/tmp";
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

class NoPrompts : public banc::window::Prompts {
public:
    Closing AskBeforeClosing(QWidget*) override { return Closing::Discard; }
    Closing AskBeforeDropping(QWidget*, Dropping) override { return Closing::Discard; }
    std::string OpenPath(QWidget*, const std::string&) override { return {}; }
    std::string SavePath(QWidget*, File, const std::string&, File*) override { return {}; }
    void Warn(QWidget*, const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool AskComment(QWidget*, const std::string&, std::string&) override { return false; }
    bool ConfirmRemoval(QWidget*, const std::string&) override { return false; }
    bool ChoosePrinter(QWidget*, QPrinter&) override { return false; }
};

std::unique_ptr<banc::window::BenchWindow> MakeWindow(const Folder& folder, NoPrompts& prompts)
{
    tarvic::IniProfile profile(folder.path + "/tarvic-banc-fenetre.ini");
    profile.WriteProfileString("FENETRE", "BANC", "debitair");
    profile.WriteProfileString("FENETRE", "VITESSE", "1");
    banc::window::Workbench::Places places;
    places.profileFolder = folder.path;
    places.historyPath = folder.path + "/essais.sqlite";  // never the user's own history
    places.card.cardsim = banc::EmbeddedCard::Locate("");
    auto window = std::make_unique<banc::window::BenchWindow>(places, prompts);
    window->resize(1920, 1080);
    window->show();
    return window;
}

// The engine's drawing: 16 curves (the recording's 16 rows) of 640 points on a 1920 x 800 image.
void PlotRedraw(benchmark::State& state)
{
    tarvic::SetTraceSink([](std::string_view) {});
    banc::Settings settings;
    settings.bench = banc::FindBench("niveaueau");
    settings.mode = banc::FindMode(*settings.bench, "pid");
    banc::Elements elements;
    const auto profile = std::make_shared<tarvic::MemoryProfile>();
    profile->WriteProfileInt("ENREGISTREMENT", "NB_BLOC", kBlocks);
    if (!banc::Configure(settings, profile, elements).error.empty()) state.SkipWithError("setup");
    Fill(*elements.recording);
    banc::PlotContent content = banc::MakePlot(settings, elements);
    content.curves.clear();
    for (int row = 0; row < kCurves; ++row)
        content.curves.push_back({{"", tarvic::Format("Ligne %d", row), row},
                                  '0',
                                  row % 2,
                                  RGB(row * 15, 255 - row * 15, (row * 40) % 256)});
    const banc::PlotFrame frame{kWidth, banc::window::PlotView::kHeight, 80, kWidth - 80, 75, 675};
    QImage image(kWidth, frame.height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        CPainterDC dc(painter);
        banc::DrawPlot(dc, *elements.recording, content, frame);
    }
    state.counters["points"] = content.points;
    state.counters["curves"] = static_cast<double>(content.curves.size());
}

// The window's plot as it repaints: every curve it offers on the air flow bench, 20 blocks recorded.
void WindowPlotRedraw(benchmark::State& state)
{
    tarvic::SetTraceSink([](std::string_view) {});
    Folder folder;
    NoPrompts prompts;
    auto window = MakeWindow(folder, prompts);
    banc::window::Workbench& bench = window->GetWorkbench();
    {
        std::lock_guard lock(bench.Lock());
        Fill(*bench.LiveElements().recording);
    }
    banc::window::CurveList& curves = *window->Curves();
    for (int row = 0; row < curves.count(); ++row) curves.item(row)->setCheckState(Qt::Checked);
    QImage image(kWidth, banc::window::PlotView::kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        CPainterDC dc(painter);
        window->Plot()->Render(dc, kWidth);
    }
    state.counters["curves"] = static_cast<double>(curves.Shown().size());
}

// The window on the simulated card, no run: the live values every 250 ms.
void IdleWatch(benchmark::State& state)
{
    tarvic::SetTraceSink([](std::string_view) {});
    Folder folder;
    NoPrompts prompts;
    double processor = 0, wall = 0;
    int turns = 0;
    for (auto _ : state) {
        auto window = MakeWindow(folder, prompts);
        int live = 0;
        QObject::connect(&window->GetWorkbench().Card(), &banc::window::CardConnection::live, [&] { ++live; });
        // Settled first: the card started, its first answers in.
        RunEventLoop(1000);
        const int before = live;
        const double cpuStart = ProcessorSeconds();
        QElapsedTimer timer;
        timer.start();
        RunEventLoop(static_cast<int>(kIdleSeconds * 1000));
        processor += ProcessorSeconds() - cpuStart;
        wall += static_cast<double>(timer.elapsed()) / 1000;
        turns += live - before;
        state.SetIterationTime(static_cast<double>(timer.elapsed()) / 1000);
    }
    state.counters["cpu_percent"] = processor / wall * 100;
    state.counters["watch_turns_per_s"] = turns / wall;
}

}  // namespace

BENCHMARK(PlotRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowPlotRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(IdleWatch)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
int main(int argc, char** argv)
{
    // Painted in memory, as without a display: the same raster painting, no screen to wait for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own, gone before the statics.
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
