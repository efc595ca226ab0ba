#pragma once

#include <QApplication>

namespace tarvic::test {

// Widgets need a QApplication; the first call makes it for the whole
// program (it also serves the tests that only paint on images).
inline void RequireWidgetApplication()
{
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "test_synoptic";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

}  // namespace tarvic::test

namespace tarvic::test {

// A fixture base that makes the application before the fixture's widgets.
struct WithWidgetApplication {
    WithWidgetApplication() { RequireWidgetApplication(); }
};

}  // namespace tarvic::test
