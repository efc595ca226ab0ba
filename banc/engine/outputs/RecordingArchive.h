#pragma once

#include <string>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc {

// An experiment kept in a file, in the library's archive format: the bench's
// process letter (1 byte), the mode number (4 bytes), the name of the
// measured quantity (a count and its bytes), then the bench, the controller,
// the generator and the recording as archived objects. What a loaded
// experiment's elements belong to comes from the letter and mode, which the
// elements' own records do not hold. The console adds its integrity check
// after it (ArchiveSeal.h).
std::string SaveArchive(const std::string& path, const Settings& settings, const Elements& elements);
// The bytes SaveArchive writes, integrity check included: what the run history keeps.
std::string ArchiveBytes(const Settings& settings, const Elements& elements);

struct LoadedExperiment {
    Settings settings;
    Elements elements;
    std::string notice;  // "" or what the reader should know (Latin-1): an archive without its check
};
// "" or why the file cannot be read (Latin-1), a damaged archive too; nothing
// of the user's profile is read or written.
std::string LoadArchive(const std::string& path, LoadedExperiment& loaded);
// The same from bytes kept elsewhere (the run history); `name` stands for
// the path in the messages ("l'essai 12").
std::string LoadArchiveBytes(std::string bytes, const std::string& name, LoadedExperiment& loaded);

// A tube, a socket or a device named as an output is never replaced by a file
// (as root, "/dev/null" would become one): why not, or "" for anything else.
std::string SpecialFileKept(const std::string& path);

// Whether the file begins as an experiment archive (a bench's letter, one of
// its modes and measured quantities); false for a file that cannot be read.
bool IsArchive(const std::string& path);
// Why the file may only be replaced by an archive, or "" when it is none (Latin-1).
std::string ArchiveKept(const std::string& path);

}  // namespace banc
