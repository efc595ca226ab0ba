#pragma once

class QApplication;

namespace banc::window {

// What the program is to the desktop: its name and version, and French,
// Qt's own dialogs and buttons too.
void SetUpApplication(QApplication& application);

}  // namespace banc::window
