#include "window/UnsavedRun.h"

#include "window/Workbench.h"

namespace banc::window {

bool MayDropLastRun(Workbench& workbench, Prompts& prompts, QWidget* parent, Prompts::Dropping why,
                    const std::function<bool()>& save)
{
    if (!workbench.Unsaved()) return true;
    switch (prompts.AskBeforeDropping(parent, why)) {
    case Prompts::Closing::Save: return save();
    case Prompts::Closing::Discard: return true;
    case Prompts::Closing::Cancel: break;
    }
    return false;
}

}  // namespace banc::window
