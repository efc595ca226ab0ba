#include "engine/ControllerChoice.h"

#include <algorithm>
#include <string_view>

namespace banc {
namespace {

const ParameterDef& Named(std::string_view name)
{
    const auto& all = CommonParameters();
    return *std::find_if(all.begin(), all.end(), [name](const ParameterDef& def) { return def.name == name; });
}

}  // namespace

Settings WithController(Settings loop, const ControllerSettings& chosen)
{
    const auto uses = [&](char action) { return chosen.actions.find(action) != std::string::npos; };
    const auto set = [&](const char* name, float value) { loop.values.emplace_back(&Named(name), value); };
    set("kp", chosen.kp);
    if (uses('I')) set("ti", chosen.ti);
    if (uses('D')) {
        set("td", chosen.td);
        set("kf", chosen.kf);
    }
    set("ks", chosen.ks);
    loop.actions = chosen.actions;
    return loop;
}

}  // namespace banc
