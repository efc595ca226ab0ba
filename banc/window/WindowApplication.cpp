#include "window/WindowApplication.h"

#include <QApplication>

#include <tarvic/Version.h>
#include <tarvic/platform/QtFrench.h>

namespace banc::window {

void SetUpApplication(QApplication& application)
{
    QApplication::setApplicationName(QStringLiteral("tarvic-banc-fenetre"));
    QApplication::setApplicationVersion(QStringLiteral(TARVIC_VERSION_STRING));
    tarvic::SpeakFrench(application);
}

}  // namespace banc::window
