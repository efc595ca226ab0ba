#pragma once

#include <string>

#include "tarvic/platform/Export.h"

// The string resources of the application: texts found by number. The library
// registers its own defaults at load time; a controlling application replaces
// any of them with SetString.
namespace tarvic {

// The text of resource `id`, or "" when there is none.
TARVIC_EXPORT std::string LoadString(int id);
TARVIC_EXPORT void SetString(int id, std::string text);

}  // namespace tarvic
