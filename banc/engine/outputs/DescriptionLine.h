#pragma once

#include <string>

class CEidElement;

namespace banc {

// An element's description on one line without its bold headings
// ("Correcteur:"), markup taken off, blanks run together: what the element is
// set to, in the library's own words, for lists and legends (Latin-1).
std::string DescriptionLine(CEidElement& element);

}  // namespace banc
