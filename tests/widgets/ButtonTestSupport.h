#pragma once

#include <QPalette>

namespace tarvic::test {

// Known system colours for the button tests: face and window (200, 200, 200),
// highlight white, light (220, 220, 220), shadow (128, 128, 128), dark
// shadow (64, 64, 64), black text.
inline QPalette ButtonPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(200, 200, 200));
    palette.setColor(QPalette::Button, QColor(200, 200, 200));
    palette.setColor(QPalette::Light, QColor(255, 255, 255));
    palette.setColor(QPalette::Midlight, QColor(220, 220, 220));
    palette.setColor(QPalette::Dark, QColor(128, 128, 128));
    palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 0));
    return palette;
}

}  // namespace tarvic::test
