#pragma once

namespace tarvic::test {

// Makes sure a QGuiApplication exists (fonts and painting on images need
// one); the first call creates it for the rest of the test program.
void RequireGuiApplication();

}  // namespace tarvic::test
