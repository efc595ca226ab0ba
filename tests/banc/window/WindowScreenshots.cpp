// Pictures of the bench console's window during a run on each bench, for the
// README, on a 1280x720 screen: banc_window_screenshots FOLDER writes
// FOLDER/fenetre-<bench>.png, and the identification of the air flow bench's
// temperature with its models and suggested settings, fenetre-identification.png,
// fenetre-modeles.png and fenetre-reglage.png, the loop of SIMC's PI beside
// its prediction, fenetre-prediction.png, and three runs of the water level
// kept in the history and overlaid, fenetre-historique.png.
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

#include <tarvic/recording/Enregistrement.h>

#include <algorithm>
#include <cstdio>

#include "WindowFixture.h"
#include "engine/outputs/Results.h"
#include "window/HistoryDock.h"
#include "window/HistoryPane.h"
#include "window/IdentificationPanel.h"
#include "window/LabSession.h"
#include "window/PlotView.h"
#include "window/TuningDialog.h"

namespace {

using banc::test::SpinUntil;
using banc::window::LinkState;

// Each bench in a mode worth showing, with what a teacher would set, caught at this share of its run.
struct Scene {
    const char* bench;
    const char* mode;
    const char* actions;
    std::vector<std::pair<const char*, float>> values;
};
const std::vector<Scene> kScenes = {
    {"niveaueau", "pid", "PI", {{"kp", 2}, {"ti", 20}, {"echelon", 50}}},
    {"debitair", "pid", "PI", {{"kp", 1.5f}, {"ti", 1.5f}, {"echelon", 60}}},
    {"axnum", "position", "PID", {{"echelon", 720}}},  // the factory gains
    {"iapv", "vitesse", "PI", {{"echelon", 1500}}},
    {"synum", "vitesse", "PI", {{"kp", 0.5f}, {"ti", 0.05f}, {"echelon", 700}}},
};
constexpr double kCaught = 0.8;    // of the run, when the picture is taken
constexpr double kRunSeconds = 6;  // each run, whatever its length in the card's time

bool Fail(const Scene& scene, const std::string& why)
{
    std::fprintf(stderr, "%s : %s\n", scene.bench, why.c_str());
    return false;
}

bool Shoot(const Scene& scene, const std::string& folder)
{
    banc::test::WindowFixture fixture;
    fixture.Prefer(scene.bench, scene.mode, 1);
    banc::window::BenchWindow& window = fixture.Open();
    window.resize(1280, 720);
    banc::window::Workbench& bench = fixture.Bench();
    banc::window::Workbench::Values values;
    for (const auto& [name, value] : scene.values)
        values.emplace_back(&banc::test::FindParameter(*bench.LiveSettings().bench, name), value);
    if (std::string error = bench.SetActions(scene.actions); !error.empty()) return Fail(scene, error);
    if (std::string error = bench.SetParameters(values); !error.empty()) return Fail(scene, error);
    int blocks = 0;
    {
        std::lock_guard lock(bench.Lock());
        blocks = bench.LiveElements().recording->LitParam(2);
    }
    banc::window::CardChoice card = bench.CardChosen();
    card.speed = bench.SecondsPerBlock() * blocks / kRunSeconds;
    if (std::string error = bench.UseCard(card); !error.empty()) return Fail(scene, error);
    if (!SpinUntil([&] { return bench.Card().State() == LinkState::Answering; })) return Fail(scene, "carte muette");
    window.findChild<QCheckBox*>(QStringLiteral("reperes"))->setChecked(true);
    window.Do(banc::window::Action::Start);
    const auto acquired = [&] {
        std::lock_guard lock(bench.Lock());
        return bench.LiveElements().recording->LitNbPoint() / 32;
    };
    if (!SpinUntil([&] { return acquired() >= static_cast<int>(blocks * kCaught); }))
        return Fail(scene, "essai trop lent");
    // The cursor on the measurement, a third of the way.
    QApplication::processEvents();
    banc::window::PlotView& plot = *window.Plot();
    const int index = acquired() * 32 / 3;
    float value = 0;
    {
        std::lock_guard lock(bench.Lock());
        value = banc::CurvesOf(bench.LiveSettings(), bench.LiveElements())
                    .measure.Value(*bench.LiveElements().recording, index);
    }
    const QPoint at = plot.ToWidget(CPoint(plot.TimeAxis().calculpx(index), plot.ValueAxis(0).ConvIntFloat(value)));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), plot.mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &press);
    QApplication::processEvents();
    const std::string path = folder + "/fenetre-" + scene.bench + ".png";
    if (!window.grab().toImage().save(QString::fromLocal8Bit(path.c_str()))) return Fail(scene, "image " + path);
    window.Do(banc::window::Action::Stop);
    SpinUntil([&] { return !bench.Running(); });
    std::printf("%s\n", path.c_str());
    return true;
}

bool Save(QWidget& widget, const std::string& path)
{
    QApplication::processEvents();
    if (!widget.grab().toImage().save(QString::fromLocal8Bit(path.c_str()))) return false;
    std::printf("%s\n", path.c_str());
    return true;
}

// An open-loop step of the heating, from 0 to 60 % after 10 s, identified; the rules' settings beside it.
bool ShootIdentification(const std::string& folder)
{
    constexpr double kSpeed = 100;  // card seconds a second
    const Scene scene{"debitair", "bo", "", {{"repos", 0}, {"echelon", 60}, {"retard", 10}}};
    banc::test::WindowFixture fixture;
    fixture.Prefer(scene.bench, scene.mode, kSpeed);
    banc::window::BenchWindow& window = fixture.Open();
    window.resize(1280, 720);
    banc::window::Workbench& bench = fixture.Bench();
    const banc::Settings& settings = bench.LiveSettings();
    const banc::MeasureChoice& temperature = *banc::FindMeasure(*settings.bench, "temperature");
    const banc::CommandChoice& heating = settings.bench->commands[1];
    if (std::string error = bench.SetWiring(heating, temperature, true, true); !error.empty())
        return Fail(scene, error);
    banc::window::Workbench::Values values;
    for (const auto& [name, value] : scene.values)
        values.emplace_back(&banc::test::FindParameter(*bench.LiveSettings().bench, name), value);
    if (std::string error = bench.SetParameters(values); !error.empty()) return Fail(scene, error);
    if (std::string error = bench.SetRecording(160, 250); !error.empty()) return Fail(scene, error);
    if (!SpinUntil([&] { return bench.Card().State() == LinkState::Answering; })) return Fail(scene, "carte muette");
    if (!fixture.RunToTheEnd()) return Fail(scene, "essai interrompu");
    window.Do(banc::window::Action::Identify);
    auto* panel = dynamic_cast<banc::window::IdentificationPanel*>(window.OpenDialog());
    if (!panel) return Fail(scene, "pas d'identification");
    if (!Save(window, folder + "/fenetre-identification.png") || !Save(*panel, folder + "/fenetre-modeles.png"))
        return Fail(scene, "image");
    if (!panel->Tuning()->isEnabled()) return Fail(scene, panel->Reason()->text().toStdString());
    panel->Tuning()->click();
    auto* tuning = panel->findChild<banc::window::TuningDialog*>();
    if (!tuning || !Save(*tuning, folder + "/fenetre-reglage.png")) return Fail(scene, "image");
    // SIMC's PI applied, and run: the loop's response beside the one predicted.
    const auto& suggestions = window.Lab().Result()->suggestions;
    const auto simc = std::find_if(suggestions.begin(), suggestions.end(), [](const banc::TunedSuggestion& s) {
        return s.suggestion.rule == banc::analysis::Rule::Simc && s.settings.actions == "PI";
    });
    if (simc == suggestions.end()) return Fail(scene, "pas de PI SIMC");
    tuning->Suggestions()->selectRow(static_cast<int>(simc - suggestions.begin()));
    tuning->ApplyButton()->click();
    if (bench.LiveSettings().mode->controller != &banc::kPid)
        return Fail(scene, tuning->Message()->text().toStdString());
    // The heater off, the air back at rest, as the prediction starts: ten time constants of the card's time.
    SpinUntil([] { return false; }, std::chrono::milliseconds(static_cast<int>(200 / kSpeed * 1000)));
    if (!fixture.RunToTheEnd()) return Fail(scene, "essai interrompu");
    return Save(window, folder + "/fenetre-prediction.png");
}

// The water level's PI with three gains, each run to its end, then the three selected in the Historique pane.
bool ShootHistory(const std::string& folder)
{
    const Scene scene{"niveaueau", "pid", "PI", {{"ti", 20}, {"echelon", 50}}};
    banc::test::WindowFixture fixture;
    fixture.Prefer(scene.bench, scene.mode, 100);
    banc::window::BenchWindow& window = fixture.Open();
    window.resize(1280, 720);
    banc::window::Workbench& bench = fixture.Bench();
    if (std::string error = bench.SetActions(scene.actions); !error.empty()) return Fail(scene, error);
    if (std::string error = bench.SetRecording(160, 500); !error.empty()) return Fail(scene, error);
    if (!SpinUntil([&] { return bench.Card().State() == LinkState::Answering; })) return Fail(scene, "carte muette");
    for (const float kp : {0.5f, 2.0f, 6.0f}) {
        banc::window::Workbench::Values values;
        for (const auto& [name, value] : scene.values)
            values.emplace_back(&banc::test::FindParameter(*bench.LiveSettings().bench, name), value);
        values.emplace_back(&banc::test::FindParameter(*bench.LiveSettings().bench, "kp"), kp);
        if (std::string error = bench.SetParameters(values); !error.empty()) return Fail(scene, error);
        if (!fixture.RunToTheEnd()) return Fail(scene, "essai interrompu");
    }
    banc::window::HistoryDock& dock = *window.History();
    dock.show();
    // Widened, as a user does, to the runs' figures.
    window.resizeDocks({&dock}, {520}, Qt::Horizontal);
    dock.Pane()->Select({1, 2, 3});
    if (window.Plot()->Compared().size() != 3) return Fail(scene, dock.Pane()->Message()->text().toStdString());
    return Save(window, folder + "/fenetre-historique.png");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: banc_window_screenshots FOLDER\n");
        return 2;
    }
    QApplication application(argc, argv);
    bool ok = true;
    for (const Scene& scene : kScenes) ok = Shoot(scene, argv[1]) && ok;
    ok = ShootIdentification(argv[1]) && ok;
    ok = ShootHistory(argv[1]) && ok;
    return ok ? 0 : 1;
}
