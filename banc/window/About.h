#pragma once

#include <QString>

class QWidget;

namespace banc::window {

// What the "About" box says: the program, its version, what it is for, and
// the Qt it runs with.
QString AboutText();

// The box, on top of `parent`, without holding up the window.
void ShowAbout(QWidget* parent);

}  // namespace banc::window
