#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/history/StoredRun.h"

namespace banc::history {

// Which runs a list shows.
struct RunFilter {
    std::string bench;  // "" every bench
    std::string since;  // "" from the first; else "2026-12-01" or "2026-12-01 14:00"
    std::optional<int> limit;
};

// The runs kept in an SQLite base. Every call answers "" or why not, in
// French (Latin-1), naming the base's path: nothing of a failed call is
// half-written, and nothing already stored is lost.
class RunHistory {
public:
    RunHistory();
    ~RunHistory();
    RunHistory(const RunHistory&) = delete;
    RunHistory& operator=(const RunHistory&) = delete;

    // ${XDG_DATA_HOME:-~/.local/share}/tarvic/essais.sqlite
    static std::string DefaultPath();

    // Opens the base, creating it (and its folder) when the file does not
    // exist; refuses a file that is not a base of ours or is of a newer schema.
    std::string Open(const std::string& path);
    const std::string& Path() const;

    // Keeps the run in one transaction and gives it its number. A run with an
    // origin kept before from the same room and place is not kept again: it
    // is given the number it has.
    std::string Insert(StoredRun& run);
    // Newest first, without their archives.
    std::string List(const RunFilter& filter, std::vector<StoredRun>& runs);
    // The whole run, archive included; a number that does not exist is refused.
    std::string Read(long long number, StoredRun& run);
    std::string SetComment(long long number, const std::string& comment);
    // `removed` tells what was removed.
    std::string Remove(long long number, StoredRun& removed);

private:
    struct Base;
    std::unique_ptr<Base> m_base;
};

}  // namespace banc::history
