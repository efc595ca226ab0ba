#pragma once

#include <memory>
#include <string>

#include "tarvic/platform/Export.h"

namespace tarvic {

// The application's settings store, addressed by section and entry. Names are
// compared without regard to case; values are Latin-1 texts.
class TARVIC_EXPORT Profile {
public:
    virtual ~Profile();

    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& defaultValue) = 0;
    // False when the store could not be written; the previous value then stays.
    virtual bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) = 0;

    // Integers are kept as decimal text: an empty or missing entry gives the
    // default, otherwise its leading integer ("12abc" is 12, "abc" is 0).
    virtual int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue);
    virtual bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
};

// The profile the library reads and writes. Until one is set, an IniProfile on
// ${XDG_CONFIG_HOME:-~/.config}/tarvic/<program name>.ini.
TARVIC_EXPORT void SetProfile(std::shared_ptr<Profile> profile);
TARVIC_EXPORT std::shared_ptr<Profile> GetProfile();

// ${XDG_CONFIG_HOME:-~/.config}/tarvic/<name>.ini
TARVIC_EXPORT std::string DefaultProfilePath(const std::string& programName);

}  // namespace tarvic
