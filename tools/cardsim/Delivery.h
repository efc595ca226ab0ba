#pragma once

#include <string>
#include <vector>

namespace cardsim {

// How the card puts a reply on the line: whole, or in the faulty ways a real
// line shows (pieces, one byte at a time, noise around the reply).
enum class Delivery { Whole, Split, Bytewise, Garbage };

// The writes, in order, that carry "reply CR LF" in that delivery; the peer
// pauses between them.
std::vector<std::string> Pieces(const std::string& reply, Delivery delivery);

}  // namespace cardsim
