#include "engine/model/StagedProfile.h"

#include <cctype>
#include <cerrno>

namespace banc {

StagedProfile::StagedProfile(std::shared_ptr<tarvic::Profile> store) : m_store(std::move(store)) {}

std::string StagedProfile::Key(const std::string& section, const std::string& entry)
{
    // Profile names do not heed case.
    std::string key = section + '\n' + entry;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

std::string StagedProfile::GetProfileString(const std::string& section, const std::string& entry,
                                            const std::string& defaultValue)
{
    {
        std::lock_guard lock(m_mutex);
        const auto staged = m_values.find(Key(section, entry));
        if (staged != m_values.end()) return staged->second;
    }
    return m_store->GetProfileString(section, entry, defaultValue);
}

bool StagedProfile::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    std::lock_guard lock(m_mutex);
    const auto [where, added] = m_values.insert_or_assign(Key(section, entry), value);
    if (added) m_writes.emplace_back(section, entry);
    return true;
}

bool StagedProfile::Commit()
{
    std::lock_guard lock(m_mutex);
    int error = 0;
    // Each entry once, with its last value, in the order of its first write.
    for (const auto& [section, entry] : m_writes) {
        errno = 0;
        if (!m_store->WriteProfileString(section, entry, m_values[Key(section, entry)]) && error == 0)
            error = errno == 0 ? EIO : errno;
    }
    m_writes.clear();
    m_values.clear();
    errno = error;
    return error == 0;
}

}  // namespace banc
