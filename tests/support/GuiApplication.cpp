#include "support/GuiApplication.h"

#include <QGuiApplication>

namespace tarvic::test {

void RequireGuiApplication()
{
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "tarvic_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

}  // namespace tarvic::test
