#pragma once

#include <functional>

#include "window/Prompts.h"

class QWidget;

namespace banc::window {

class Workbench;

// Before what would drop the last run (closing, another bench, a file opened,
// a new run): true when it may go, being in an archive already, saved now
// with `save` (the window's "Enregistrer", true once written), or let go by
// the user; false to stay as things are.
bool MayDropLastRun(Workbench& workbench, Prompts& prompts, QWidget* parent, Prompts::Dropping why,
                    const std::function<bool()>& save);

}  // namespace banc::window
