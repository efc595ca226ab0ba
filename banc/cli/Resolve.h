#pragma once

#include <string>

#include "cli/CommandLine.h"
#include "engine/model/Settings.h"

namespace banc::cli {

// The request's names looked up in the engine's tables; "" or the French
// reason one is not known (Latin-1).
std::string Resolve(const Request& request, Settings& settings);

// Names of a table, "a, b, c", for the messages and the help.
template <class Items>
std::string NameList(const Items& items)
{
    std::string list;
    for (const auto& item : items) list += (list.empty() ? "" : ", ") + std::string(item.name);
    return list;
}

}  // namespace banc::cli
