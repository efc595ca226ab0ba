// tarvic-banc-fenetre: the bench console in a window.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <tarvic/platform/Profile.h>

#include <clocale>
#include <string>

#include "engine/EmbeddedCard.h"
#include "window/BenchWindow.h"
#include "window/Prompts.h"
#include "window/WindowApplication.h"

namespace {

std::string Folder(const std::string& path) { return path.substr(0, path.rfind('/')); }

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    banc::window::SetUpApplication(application);
    // The profile's numbers and the card's are written with a '.', whatever the language.
    std::setlocale(LC_NUMERIC, "C");
    // The library writes the trace files of the generator's tables where the
    // program runs: in a scratch folder of its own, gone when it ends.
    const QTemporaryDir scratch;
    if (scratch.isValid()) QDir::setCurrent(scratch.path());
    banc::window::Workbench::Places places;
    places.profileFolder = Folder(tarvic::DefaultProfilePath("tarvic-banc-fenetre"));
    places.card.cardsim = banc::EmbeddedCard::Locate(banc::EmbeddedCard::ProgramFolder());
    banc::window::DialogPrompts prompts;
    banc::window::BenchWindow window(places, prompts);
    window.resize(1800, 960);
    window.show();
    return QApplication::exec();
}
