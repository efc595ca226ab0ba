// The picture of the room view for the README, on a 1280x720 screen:
// salle_screenshot FOLDER writes FOLDER/salle.png, a room of five benches and
// two stations as they publish over five minutes: three runs under way (one
// gone quiet), a run just ended and kept, a station's bits, a bench off line.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>

#include <cmath>
#include <cstdio>

#include "BancTestSupport.h"
#include "HistorySupport.h"
#include "SalleSupport.h"
#include "salle/RoomWindow.h"

namespace {

using namespace std::chrono_literals;
using salle::Clock;
using salle::test::BenchState;
using salle::test::PublishedRun;
using salle::test::StationState;

const Clock::time_point kStart{std::chrono::hours(1000)};

net::Measures Measures(const char* name, const char* unit, double setpoint, double value, double command)
{
    net::Measures measures;
    measures.values = {{"Consigne", setpoint, unit}, {name, value, unit}, {"Commande", command, "%"}};
    return measures;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage : salle_screenshot DOSSIER\n");
        return 2;
    }
    const std::string folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString();
    QApplication& application = salle::test::Application();
    application.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    // The run kept in a base of its own, named shortly in the status bar.
    banc::test::TemporaryFolder scratch;
    QDir::setCurrent(QString::fromLocal8Bit(scratch.Path().c_str()));
    salle::test::ScriptedRoomPrompts prompts;
    salle::RoomWindow::Options options;
    options.historyPath = "salle.sqlite";
    options.watched = "B101";
    salle::RoomWindow::Links links;
    links.broker = "localhost:1883";
    links.counters = [] {
        net::LinkCounters counters;
        counters.connected = true;
        return counters;
    };
    salle::RoomWindow window(prompts, links, options);
    Clock::time_point now = kStart;
    window.SetClock([&now] { return now; });

    const net::Poste level{"B101", "pc01"}, air{"B101", "pc02"}, axis{"B101", "pc03"}, motor{"B101", "pc04"},
        load{"B101", "pc05"}, varnok{"B101", "pc06"}, torvane{"B101", "pc07"};
    window.Heard(level, BenchState(net::PosteActivity::Running, "niveaueau"));
    window.Heard(air, BenchState(net::PosteActivity::Running, "debitair"));
    window.Heard(axis, BenchState(net::PosteActivity::Free, "niveaueau"));
    window.Heard(motor, BenchState(net::PosteActivity::Running, "iapv"));
    window.Heard(load, BenchState(net::PosteActivity::Offline, "synum"));
    window.Heard(varnok, StationState("Varnok"));
    window.Heard(torvane, StationState("Torvane"));
    // Five minutes at two measures a second; the motor bench falls silent after four.
    for (int i = 0; i <= 600; ++i) {
        now = kStart + std::chrono::milliseconds(500 * i);
        const double t = i / 2.0;
        window.Heard(level, Measures("Niveau", "cm", 20, 20 - 20 * std::exp(-t / 40) * std::cos(t / 15), 40));
        window.Heard(air, Measures("Temp\xE9rature", "\xB0" "C", 45, 45 - 15 * std::exp(-t / 60), 55));
        if (t < 240) window.Heard(motor, Measures("Vitesse", "tr/min", 1500, 1500 - 1500 * std::exp(-t / 5), 60));
    }
    banc::test::WaterLevelRun recorded(4, banc::test::RampWithOvershoot);
    net::RunEnd run = PublishedRun(recorded);
    run.number = 7;
    run.time = "2026-12-08T14:04:13.000Z";
    run.finalValue = 50.0;
    run.overshootPct = 9.8;
    window.Heard(axis, run);
    net::StationBits bits;
    bits.inputs = {0x25, 0x01};
    bits.outputs = {0x03};
    bits.stateText = "Carte : VARNOK V1.0";
    window.Heard(varnok, bits);
    window.Refresh();
    window.resize(1280, 720);
    window.show();
    QApplication::processEvents();
    const std::string path = folder + "/salle.png";
    if (!window.grab().toImage().save(QString::fromLocal8Bit(path.c_str()))) {
        std::fprintf(stderr, "impossible d'\xE9" "crire %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
