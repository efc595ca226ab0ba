#include "engine/outputs/DescriptionLine.h"

#include <tarvic/elements/EidElement.h>

#include "engine/outputs/Markup.h"

namespace banc {
namespace {

constexpr int kOneLine = 0;  // LitConfiguration layout: the items on one line

}  // namespace

std::string DescriptionLine(CEidElement& element)
{
    std::string markup = element.LitConfiguration(kOneLine);
    // Every bold run is a heading ("Correcteur:", "Processus:"), ended by the return to normal.
    for (std::size_t bold = markup.find("\\g"); bold != std::string::npos; bold = markup.find("\\g", bold)) {
        const std::size_t end = markup.find("\\n", bold);
        markup.erase(bold, end == std::string::npos ? std::string::npos : end + 2 - bold);
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
