#include "Delivery.h"

#include "tarvic/platform/Text.h"

namespace cardsim {

std::vector<std::string> Pieces(const std::string& reply, Delivery delivery)
{
    const std::string line = reply + "\r\n";
    switch (delivery) {
    case Delivery::Whole: return {line};
    case Delivery::Split: {
        // Cut inside the mnemonic and between CR and LF, the two places a reader gets wrong.
        const std::ptrdiff_t cut = std::min<std::ptrdiff_t>(3, static_cast<std::ptrdiff_t>(reply.size()));
        return {tarvic::Mid(line, 0, cut), tarvic::Mid(line, cut, static_cast<std::ptrdiff_t>(reply.size()) + 1 - cut),
                "\n"};
    }
    case Delivery::Bytewise: {
        std::vector<std::string> bytes;
        for (const char c : line) bytes.emplace_back(1, c);
        return bytes;
    }
    case Delivery::Garbage:
        // Noise with no line start, a line with a bare LF, then the reply.
        return {std::string("\x07#@ \xFF\x01", 6), "!BRUIT\n", "zz" + line};
    }
    return {line};
}

}  // namespace cardsim
