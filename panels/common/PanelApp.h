#pragma once

#include "PanelVariant.h"

class CPanelRoom;
class QApplication;

// A panel program's whole run: the application, its profile, its arguments
// (--help, --version, the room's broker), the panel.
int RunPanelApp(int argc, char** argv, const PanelVariant& variant);

// The program's name, icon and language (Qt's texts in French too).
void SetUpPanelApp(QApplication& application, const PanelVariant& variant);

// The panel's runs inside an existing application: again on the new port
// each time the user chose another one, until it is closed otherwise or by a
// signal (SIGTERM, SIGINT, SIGHUP), always through its closing order. Each
// reports to `room`, when given, which outlives them.
int RunPanels(const PanelVariant& variant, CPanelRoom* room = nullptr);
