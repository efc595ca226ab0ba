#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "tarvic/platform/Profile.h"

namespace tarvic {

// A Windows-style private profile file: "[SECTION]" lines and "entry=value"
// lines, names without regard to case, values unquoted. Every read reads the
// file again, so that several programs may share it; every write rewrites it
// through a temporary file and a rename, so that a crash never leaves half a
// file. Lines it does not understand (comments, blank lines) are kept as they are.
class TARVIC_EXPORT IniProfile : public Profile {
public:
    explicit IniProfile(std::string path);

    const std::string& Path() const { return m_path; }

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;

private:
    std::vector<std::string> ReadLines() const;
    bool WriteLines(const std::vector<std::string>& lines) const;

    std::string m_path;
    std::mutex m_mutex;
};

}  // namespace tarvic
