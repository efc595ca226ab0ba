#pragma once

#include "tarvic/platform/Export.h"

class QCoreApplication;

namespace tarvic {

// The programs speak French, and so do Qt's own texts in them (the buttons of
// message boxes, the file and print dialogs), from Qt's French catalogue
// (Debian's qt6-translations-l10n), with French dates and numbers in Qt's
// widgets. False when the catalogue is missing: Qt's texts stay English.
TARVIC_EXPORT bool SpeakFrench(QCoreApplication& application);

}  // namespace tarvic
