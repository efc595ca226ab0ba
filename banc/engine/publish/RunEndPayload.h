#pragma once

#include <string>

#include "engine/history/StoredRun.h"
#include "net/Payloads.h"

namespace banc::publish {

// Local time as the history keeps it ("2026-12-08 15:04:05") as the room's
// UTC ("2026-12-08T14:04:05.000Z"); "" when it is not such a time.
std::string UtcOfLocal(const std::string& local);

// The end of a run for the room: what the history keeps of it, its archive
// included, ended at `endedAt` (UTC with milliseconds).
net::RunEnd RunEndOf(const history::StoredRun& run, const std::string& endedAt);

}  // namespace banc::publish
