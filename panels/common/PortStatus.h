#pragma once

#include <string>

#include <QString>

// A port name as the user reads it: "COM33 (/dev/ttyUSB0)" for a mapped name,
// a device path as its file name reads (paths are in the file-name encoding).
QString PortLabel(const std::string& port);

// Why the port cannot be used, in the user's words, from the errno its last
// open or configuration gave ("Port COM1 (/dev/ttyS0) introuvable").
QString PortStatusText(const std::string& port, int error);
