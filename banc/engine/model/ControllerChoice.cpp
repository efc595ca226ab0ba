#include "engine/model/ControllerChoice.h"

#include <algorithm>
#include <string_view>
#include <utility>

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
    for (const auto& [name, value] :
         {std::pair{"kp", chosen.kp}, std::pair{"ti", chosen.ti}, std::pair{"td", chosen.td},
          std::pair{"kf", chosen.kf}, std::pair{"ks", chosen.ks}})
        loop.values.emplace_back(&Named(name), value);
    loop.actions = chosen.actions;
    return loop;
}

}  // namespace banc
