#pragma once

#include <QApplication>

namespace tarvic::test {

// Widgets need a QApplication; the first call makes it for the whole
// program (it also serves the tests that only paint on images). It is never
// destroyed: at exit, the pointing device that mouse events create would be
// torn down after parts of Qt it needs.
inline void RequireWidgetApplication()
{
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "test_synoptic";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace tarvic::test

namespace tarvic::test {

// A fixture base that makes the application before the fixture's widgets.
struct WithWidgetApplication {
    WithWidgetApplication() { RequireWidgetApplication(); }
};

}  // namespace tarvic::test
