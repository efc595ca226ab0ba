#include "tarvic/platform/QtFrench.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tarvic {

bool SpeakFrench(QCoreApplication& application)
{
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    // "qt" is the catalogue of catalogues: qtbase's and the modules' with it.
    auto* translator = new QTranslator(&application);
    if (translator->load(french, QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

}  // namespace tarvic
