// tarvic-banc-fenetre: the bench console in a window.
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>

#include <tarvic/platform/Profile.h>
#include <tarvic/platform/SignalClose.h>

#include <clocale>
#include <cstdio>
#include <optional>
#include <string>

#include "engine/link/EmbeddedCard.h"
#include "window/BenchWindow.h"
#include "window/KeptRun.h"
#include "window/Prompts.h"
#include "window/WindowApplication.h"
#include "window/WindowArguments.h"

namespace {

std::string Folder(const std::string& path) { return path.substr(0, path.rfind('/')); }

QStringList Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Printed, then the status the program ends with; none when the window is to open.
std::optional<int> Answered(const banc::window::ArgumentsAnswer& answer)
{
    std::fputs(answer.output.toLocal8Bit().constData(), stdout);
    std::fputs(answer.errors.toLocal8Bit().constData(), stderr);
    return answer.exitStatus;
}

}  // namespace

int main(int argc, char** argv)
{
    // --help and --version are for a terminal, where there may be no display.
    if (const auto status = Answered(banc::window::AnswerArguments(Arguments(argc, argv), false))) return *status;
    QApplication application(argc, argv);
    const banc::window::ArgumentsAnswer answer = banc::window::AnswerArguments(QApplication::arguments(), true);
    if (const auto status = Answered(answer)) return *status;
    banc::window::SetUpApplication(application);
    // A logout, a shutdown or a kill closes the window without a question,
    // keeping the run; caught from here, since the window watches the card as
    // soon as it is made, and a signal meanwhile would otherwise end it on the spot.
    banc::window::BenchWindow* shown = nullptr;
    const tarvic::SignalClose onSignal([&shown] {
        if (shown) shown->CloseWithoutAsking();
    });
    // The profile's numbers and the card's are written with a '.', whatever the language.
    std::setlocale(LC_NUMERIC, "C");
    // The library writes the trace files of the generator's tables where the
    // program runs: in a scratch folder of its own, gone when it ends.
    const QTemporaryDir scratch;
    if (scratch.isValid()) QDir::setCurrent(scratch.path());
    banc::window::Workbench::Places places;
    places.profileFolder = Folder(tarvic::DefaultProfilePath("tarvic-banc-fenetre"));
    places.card.cardsim = banc::EmbeddedCard::Locate(banc::EmbeddedCard::ProgramFolder());
    places.historyPath = answer.historyPath;
    places.user = answer.user;
    places.mqtt = banc::window::RoomSettings(answer.mqtt);
    banc::window::DialogPrompts prompts;
    banc::window::BenchWindow window(places, prompts);
    // Roomy on a large screen, and no larger than a laptop's or a projector's.
    window.resize(QSize(1800, 960).boundedTo(window.screen()->availableSize()));
    shown = &window;
    window.show();
    const int status = QApplication::exec();
    if (!onSignal.Received()) return status;
    if (const QString report = banc::window::KeptRunReport(window.Kept()); !report.isEmpty())
        std::fprintf(stderr, "tarvic-banc-fenetre : %s\n", report.toLocal8Bit().constData());
    // Ended by the signal, as the shell and the session count it, whatever became of the run.
    return 128 + onSignal.Received();
}
