#pragma once

#include <string>

#include "tarvic/platform/Profile.h"

namespace tarvic {

// A Windows-style private profile file: "[SECTION]" lines and "entry=value"
// lines, names without regard to case, values unquoted. Several programs may
// share one: every read reads the file again, and every write is one
// read-modify-write under a lock that holds across processes. A write
// replaces the file through a temporary file and a rename, keeping its mode
// and owner, so that neither a crash nor a power cut leaves half a file, and
// the temporary of a writer killed on the way is removed by the next one.
// A profile that is a symbolic link stays one: its target is the file replaced.
// Lines it does not understand (comments, blank lines) are kept as they are.
class TARVIC_EXPORT IniProfile : public Profile {
public:
    explicit IniProfile(std::string path);

    const std::string& Path() const { return m_path; }

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override;
    // Also false, with the file untouched, for names and values that the file
    // cannot hold: line breaks anywhere, blanks around a name, an empty name,
    // ']' in a section name, '=' in an entry name or ';' or '[' at its start.
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;

private:
    std::string m_path;
};

}  // namespace tarvic
