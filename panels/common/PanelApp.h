#pragma once

#include "PanelVariant.h"

// A panel program's whole run: the application, its profile, the panel.
int RunPanelApp(int argc, char** argv, const PanelVariant& variant);
