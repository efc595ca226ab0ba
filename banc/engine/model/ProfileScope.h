#pragma once

#include <memory>

#include <tarvic/platform/Profile.h>

namespace banc {

// The library reads the profile set globally: this one for the scope's time.
class ProfileScope {
public:
    explicit ProfileScope(std::shared_ptr<tarvic::Profile> profile) : m_previous(tarvic::GetProfile())
    {
        tarvic::SetProfile(std::move(profile));
    }
    ~ProfileScope() { tarvic::SetProfile(m_previous); }
    ProfileScope(const ProfileScope&) = delete;
    ProfileScope& operator=(const ProfileScope&) = delete;

private:
    std::shared_ptr<tarvic::Profile> m_previous;
};

}  // namespace banc
