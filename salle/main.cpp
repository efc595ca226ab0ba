// tarvic-salle: the teacher's view of the room.
#include <QApplication>
#include <QScreen>
#include <QStatusBar>

#include <tarvic/Version.h>
#include <tarvic/platform/IniProfile.h>
#include <tarvic/platform/Profile.h>
#include <tarvic/platform/QtFrench.h>
#include <tarvic/platform/SignalClose.h>

#include <clocale>
#include <cstdio>
#include <memory>
#include <optional>

#include "net/RoomListener.h"
#include "salle/RoomPrompts.h"
#include "salle/RoomWindow.h"
#include "salle/SalleArguments.h"
#include "window/Latin1.h"

namespace {

QStringList Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Printed, then the status the program ends with; none when the window is to open.
std::optional<int> Answered(const salle::ArgumentsAnswer& answer)
{
    std::fputs(answer.output.toLocal8Bit().constData(), stdout);
    std::fputs(answer.errors.toLocal8Bit().constData(), stderr);
    return answer.exitStatus;
}

}  // namespace

int main(int argc, char** argv)
{
    tarvic::IniProfile profile(tarvic::DefaultProfilePath("tarvic-salle"));
    const net::ProfileEntry entry = [&profile](const std::string& name) {
        return profile.GetProfileString("MQTT", name, "");
    };
    // --help and --version are for a terminal, where there may be no display.
    if (const auto status = Answered(salle::AnswerArguments(Arguments(argc, argv), false, entry))) return *status;
    QApplication application(argc, argv);
    const salle::ArgumentsAnswer answer = salle::AnswerArguments(QApplication::arguments(), true, entry);
    if (const auto status = Answered(answer)) return *status;
    QApplication::setApplicationName(QStringLiteral("tarvic-salle"));
    QApplication::setApplicationVersion(QStringLiteral(TARVIC_VERSION_STRING));
    tarvic::SpeakFrench(application);
    std::setlocale(LC_NUMERIC, "C");

    std::unique_ptr<net::RoomListener> listener;
    salle::RoomWindow::Links links;
    links.broker = answer.settings.host + ":" + std::to_string(answer.settings.port);
    links.send = [&listener](const net::Poste& poste, const net::Order& order) {
        if (listener) listener->Send(poste, order);
    };
    // Asked by the window from its making on, before the listener is there.
    if (answer.settings.On())
        links.counters = [&listener] { return listener ? listener->Counters() : net::LinkCounters{}; };
    salle::RoomWindow::Options options;
    options.silence = answer.silence;
    options.historyPath = answer.historyPath;
    options.watched = answer.settings.poste.salle;
    salle::DialogRoomPrompts prompts;
    salle::RoomWindow window(prompts, links, options);
    const tarvic::SignalClose onSignal([&window] { window.close(); });
    if (answer.settings.On())
        listener = std::make_unique<net::RoomListener>(answer.settings, window.Handlers());
    else
        window.statusBar()->showMessage(
            banc::window::Q("Aucun courtier : donnez --mqtt HOTE --salle NOM, ou la section MQTT de "
                            "~/.config/tarvic/tarvic-salle.ini."));
    window.resize(QSize(1400, 900).boundedTo(window.screen()->availableSize()));
    window.show();
    const int status = QApplication::exec();
    // Before the window its handlers reach.
    listener.reset();
    if (onSignal.Received()) return 128 + onSignal.Received();
    return status;
}
