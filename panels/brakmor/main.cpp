#include "BrakmorVariant.h"
#include "common/PanelApp.h"

int main(int argc, char** argv) { return RunPanelApp(argc, argv, BrakmorVariant()); }
