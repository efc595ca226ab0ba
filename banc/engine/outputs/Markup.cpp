#include "engine/outputs/Markup.h"

#include <cctype>

namespace banc {
namespace {

const char* GreekName(char letter)
{
    switch (letter) {
    case 'a': return "alpha";
    case 'b': return "beta";
    case 'd': return "delta";
    case 'g': return "gamma";
    case 'l': return "lambda";
    case 'm': return "mu";
    case 'p': return "pi";
    case 's': return "sigma";
    case 't': return "tau";
    case 'w': return "omega";
    default: return nullptr;
    }
}

}  // namespace

std::string PlainText(std::string_view markup)
{
    std::string plain;
    bool symbol = false;  // the next run is in the symbol face
    for (std::size_t i = 0; i < markup.size(); ++i) {
        const char c = markup[i];
        if (c != '\\') {
            const bool letter = std::isalnum(static_cast<unsigned char>(c)) != 0;
            const char* greek = symbol && letter ? GreekName(c) : nullptr;
            plain += greek ? greek : std::string(1, c);
            if (!letter) symbol = false;  // a style lasts one run
            continue;
        }
        if (i + 1 >= markup.size()) break;
        switch (markup[++i]) {
        case 'c':  // colour and its code
            ++i;
            break;
        case 'f':  // face and its code
            if (i + 1 < markup.size()) symbol = markup[++i] == '1';
            break;
        case 'n': symbol = false; break;
        case 'e':
        case 'g':
        case 'i': break;
        default:  // only the backslash goes; the character is read as usual
            --i;
            break;
        }
    }
    return plain;
}

}  // namespace banc
