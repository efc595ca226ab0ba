#include "engine/outputs/DescriptionLine.h"

#include <tarvic/elements/EidElement.h>

#include "engine/Markup.h"

namespace banc {
namespace {

constexpr int kOneLine = 0;  // LitConfiguration layout: the items on one line

}  // namespace

std::string DescriptionLine(CEidElement& element)
{
    std::string markup = element.LitConfiguration(kOneLine);
    if (markup.rfind("\\g", 0) == 0) {
        const std::size_t end = markup.find("\\n");
        markup.erase(0, end == std::string::npos ? markup.size() : end + 2);
    }
    std::string line;
    for (const char c : PlainText(markup)) {
        const char blank = c == '\n' || c == '\t' ? ' ' : c;
        if (blank == ' ' && (line.empty() || line.back() == ' ')) continue;
        line += blank;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace banc
