#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <tarvic/platform/Profile.h>

namespace banc {

// A profile that reads through to a store and keeps its writes aside until
// Commit: the elements are built and given every parameter against it, and
// the store changes only once all the parameters have been accepted.
class StagedProfile : public tarvic::Profile {
public:
    explicit StagedProfile(std::shared_ptr<tarvic::Profile> store);

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;

    // Writes the staged entries to the store, in the order they were made; false when one
    // failed, with errno the first failure's.
    bool Commit();

private:
    static std::string Key(const std::string& section, const std::string& entry);

    std::shared_ptr<tarvic::Profile> m_store;
    std::mutex m_mutex;
    std::map<std::string, std::string> m_values;                // by Key
    std::vector<std::pair<std::string, std::string>> m_writes;  // section and entry, in order of first write
};

}  // namespace banc
