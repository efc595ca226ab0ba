// tarvic-banc-fenetre: the bench console in a window.
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QStandardPaths>

#include <tarvic/platform/Profile.h>

#include <clocale>
#include <string>

#include "engine/EmbeddedCard.h"
#include "window/BenchWindow.h"
#include "window/Prompts.h"

namespace {

std::string Folder(const std::string& path) { return path.substr(0, path.rfind('/')); }

// The library writes the trace files of the generator's tables where the
// program runs: not in the user's folder, but in the program's cache.
void LeaveWorkingFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache)) QDir::setCurrent(cache);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarvic-banc-fenetre"));
    // The profile's numbers and the card's are written with a '.', whatever the language.
    std::setlocale(LC_NUMERIC, "C");
    LeaveWorkingFolder();
    banc::window::Workbench::Places places;
    places.profileFolder = Folder(tarvic::DefaultProfilePath("tarvic-banc-fenetre"));
    places.card.cardsim = banc::EmbeddedCard::Locate(banc::EmbeddedCard::ProgramFolder());
    banc::window::DialogPrompts prompts;
    banc::window::BenchWindow window(places, prompts);
    // Roomy on a large screen, and no larger than a laptop's or a projector's.
    window.resize(QSize(1800, 960).boundedTo(window.screen()->availableSize()));
    window.show();
    return QApplication::exec();
}
