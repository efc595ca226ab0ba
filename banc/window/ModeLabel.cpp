#include "window/ModeLabel.h"

#include <tarvic/platform/Text.h>

#include "engine/model/Controllers.h"

namespace banc::window {

std::string ModeLabel(const Mode& mode)
{
    std::string label = tarvic::Format("Mode %d : %s", mode.number, mode.controller->label);
    if (mode.measure) label += std::string(" en ") + mode.name;
    return label;
}

}  // namespace banc::window
