#pragma once

#include <string>

namespace net {

// The login of the user running the program, else "$USER", else "inconnu":
// who sits at a place, as its state tells the room.
std::string LoginName();

}  // namespace net
