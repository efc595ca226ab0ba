#pragma once

#include <QIcon>

// The panels' application icon, from the program's resources.
QIcon PanelIcon();
