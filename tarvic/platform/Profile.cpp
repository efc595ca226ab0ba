#include "tarvic/platform/Profile.h"

#include <errno.h>

#include <cstdlib>
#include <mutex>

#include "tarvic/platform/IniProfile.h"
#include "tarvic/platform/Text.h"

namespace tarvic {
namespace {

std::mutex& CurrentMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<Profile>& Current()
{
    static std::shared_ptr<Profile> profile;
    return profile;
}

}  // namespace

Profile::~Profile() = default;

std::string DefaultProfilePath(const std::string& programName)
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.config";
    }
    return base + "/tarvic/" + programName + ".ini";
}

void SetProfile(std::shared_ptr<Profile> profile)
{
    std::lock_guard lock(CurrentMutex());
    Current() = std::move(profile);
}

std::shared_ptr<Profile> GetProfile()
{
    std::lock_guard lock(CurrentMutex());
    if (!Current()) Current() = std::make_shared<IniProfile>(DefaultProfilePath(program_invocation_short_name));
    return Current();
}

int Profile::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue)
{
    const auto text = GetProfileString(section, entry, {});
    if (text.empty()) return defaultValue;
    int value = 0;
    return ScanInt(text, value) ? value : 0;
}

bool Profile::WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    return WriteProfileString(section, entry, Format("%d", value));
}

}  // namespace tarvic
