#pragma once

#include <string>

namespace banc {

// Whether two paths name one file, made already or not: the same once their
// links (a dangling last one too: writing through it makes its target), "."
// and ".." are resolved, or one file under two names (a hard link).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace banc
