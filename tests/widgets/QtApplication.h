#pragma once

#include <QApplication>

namespace tarvic::test {

// The one application object the widget tests need, made on first use.
inline void EnsureQtApplication()
{
    static int argc = 1;
    static char name[] = "test_widgets";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

}  // namespace tarvic::test
