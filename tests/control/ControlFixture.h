#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/ArchiveBytes.h"
#include "tarvic/platform/MemoryProfile.h"

namespace tarvic::test {

// A fresh profile for each test; the bench letter and mode are set before the
// element under test is constructed.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override { SetProfile(m_profile); }
    void TearDown() override { SetProfile(nullptr); }

    void Banc(char letter, int mode = 0)
    {
        m_profile->WriteProfileInt("TYPE", "PO", letter);
        m_profile->WriteProfileInt("TYPE", "REGULATEUR", mode);
    }
    std::string Entree(const std::string& section, const std::string& entry)
    {
        return m_profile->GetProfileString(section, entry, "<absent>");
    }

    std::shared_ptr<MemoryProfile> m_profile = std::make_shared<MemoryProfile>();
};

// The bytes an object writes of itself.
inline std::string Stocke(CObject& object) { return StoredBytes(object); }

// Loads `object` from `bytes`; true when the archive read them all without failing.
inline bool Charge(CObject& object, const std::string& bytes) { return LoadBytes(object, bytes) == bytes.size(); }

// Little-endian bytes of the archive's fixed-width fields.
template <class T>
std::string Octets(T value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace tarvic::test
