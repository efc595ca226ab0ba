#pragma once

#include <string>

#include "engine/history/RunHistory.h"
#include "net/Payloads.h"
#include "net/Topics.h"

namespace salle {

// A run heard from a place, as the history keeps it: tagged with its room and
// place, its user, and its start and end at the place as its origin, so that
// one heard twice (messages go at least once) is kept once. `card` is the place's card, from its state.
// "" or why it cannot be kept (Latin-1): an outcome of no known kind, or
// curves that do not read as an experiment archive (nothing of it is kept).
std::string MakeRoomRun(const net::Poste& poste, const net::RunEnd& run, const std::string& card,
                        banc::history::StoredRun& stored);

// Where the room view keeps what it collects: a base of its own by default,
// apart from the teacher's own runs on this PC.
std::string RoomHistoryPath();

}  // namespace salle
