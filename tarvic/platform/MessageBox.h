#pragma once

#include <functional>
#include <string>

#include "tarvic/platform/Export.h"

// The few user-facing failures. In a GUI process they become a QMessageBox
// (queued to the GUI thread when raised elsewhere, so a worker never blocks
// it); otherwise they are written to standard error.
namespace tarvic {

enum class MessageIcon { Information, Warning, Stop };

using MessageBoxHandler = std::function<void(const std::string& text, const std::string& caption, MessageIcon icon)>;

TARVIC_EXPORT void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon);

// Installs `handler` (an empty one restores the default) and returns the previous one.
TARVIC_EXPORT MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace tarvic
