#include "tarvic/platform/MemoryProfile.h"

#include <strings.h>

#include "tarvic/platform/Text.h"

namespace tarvic {

bool MemoryProfile::NoCase::operator()(const std::string& a, const std::string& b) const
{
    return ::strcasecmp(a.c_str(), b.c_str()) < 0;
}

std::string MemoryProfile::GetProfileString(const std::string& section, const std::string& entry,
                                            const std::string& defaultValue)
{
    std::lock_guard lock(m_mutex);
    const auto s = m_sections.find(section);
    if (s == m_sections.end()) return defaultValue;
    const auto e = s->second.find(entry);
    return e == s->second.end() ? defaultValue : e->second;
}

bool MemoryProfile::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    std::lock_guard lock(m_mutex);
    m_sections[section][entry] = value;
    return true;
}

}  // namespace tarvic
