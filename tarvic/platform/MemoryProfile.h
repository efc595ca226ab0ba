#pragma once

#include <map>
#include <mutex>
#include <string>

#include "tarvic/platform/Profile.h"

namespace tarvic {

// A profile held in memory, for tests and for applications that keep their
// settings elsewhere. Integers are stored as text, as in a profile file.
class TARVIC_EXPORT MemoryProfile : public Profile {
public:
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;

private:
    struct NoCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using Section = std::map<std::string, std::string, NoCase>;

    std::mutex m_mutex;
    std::map<std::string, Section, NoCase> m_sections;
};

}  // namespace tarvic
