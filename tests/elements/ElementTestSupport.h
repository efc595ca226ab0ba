#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tarvic/elements/EidElement.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/Text.h"

namespace tarvic::test {

// A memory profile that logs every write in order: integers as section/entry=value,
// texts as section/entry="value"; and every read, integer or text, as section/entry.
class RecordingProfile : public MemoryProfile {
public:
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override
    {
        m_reads.push_back(section + "/" + entry);
        return MemoryProfile::GetProfileString(section, entry, defaultValue);
    }
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override
    {
        m_writes.push_back(section + "/" + entry + "=\"" + value + "\"");
        return MemoryProfile::WriteProfileString(section, entry, value);
    }
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override
    {
        m_writes.push_back(section + "/" + entry + "=" + std::to_string(value));
        return MemoryProfile::WriteProfileString(section, entry, std::to_string(value));
    }
    std::vector<std::string> m_writes;
    std::vector<std::string> m_reads;
};

// The bytes an object's Serialize stores, as upper-case hexadecimal.
inline std::string StoredHex(CObject& object)
{
    std::stringstream stream;
    {
        CArchive ar(stream, CArchive::store);
        object.Serialize(ar);
    }
    std::string hex;
    for (const char byte : stream.str()) hex += Format("%2.2X", static_cast<unsigned char>(byte));
    return hex;
}

// Loads `object` from the bytes given in hexadecimal; false when the archive failed.
inline bool LoadHex(CObject& object, const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        std::uint32_t byte = 0;
        ReadHexField(hex, static_cast<std::ptrdiff_t>(i), 2, byte);
        bytes += static_cast<char>(byte);
    }
    std::stringstream stream(bytes);
    CArchive ar(stream, CArchive::load);
    object.Serialize(ar);
    return !ar.Failed();
}

// Writes `object` with its class record and reads it back as a loading
// application would: created from the class name in the archive.
inline std::unique_ptr<CObject> ThroughArchive(const CObject& object)
{
    std::stringstream stream;
    {
        CArchive ar(stream, CArchive::store);
        ar.WriteObject(&object);
    }
    CArchive ar(stream, CArchive::load);
    std::unique_ptr<CObject> loaded(ar.ReadObject(nullptr));
    if (ar.Failed() || !ar.IsBufferEmpty()) loaded.reset();
    return loaded;
}

// The writes a generator section of the factory defaults makes, as RecordingProfile logs them.
inline std::vector<std::string> GeneWrites(const std::string& section, const std::vector<std::string>& texts)
{
    static const char* const entries[] = {"ECHELON", "ACCELERATION", "RAMPE",     "FREQUENCE", "RETARD",
                                          "C_REPOS", "TE_PT",        "AMPLITUDE", "TE_SINUS"};
    std::vector<std::string> writes{section + "/TYPE=0"};
    for (std::size_t i = 0; i < texts.size() && i < std::size(entries); ++i)
        writes.push_back(section + "/" + entries[i] + "=\"" + texts[i] + "\"");
    return writes;
}

inline void Append(std::vector<std::string>& to, const std::vector<std::string>& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

// What the controlling application sends to configure the card: ConfFerz 0 to NbParam − 1.
inline std::vector<std::string> ConfigurationSequence(CEidElement& element)
{
    std::vector<std::string> commands;
    for (int i = 0; i < element.NbParam(); ++i) commands.push_back(element.ConfFerz(i));
    return commands;
}

// Tests of one bench: a recording profile is the library's profile while they run.
class BenchTest : public ::testing::Test {
protected:
    explicit BenchTest(const char* section) : m_section(section) {}
    void SetUp() override { SetProfile(m_profile); }
    void TearDown() override { SetProfile(nullptr); }
    // An integer entry of the bench's own section.
    void Set(const char* entry, int value) { m_profile->WriteProfileInt(m_section, entry, value); }
    std::string Get(const char* entry) { return m_profile->GetProfileString(m_section, entry, "<absent>"); }

    std::string m_section;
    std::shared_ptr<RecordingProfile> m_profile = std::make_shared<RecordingProfile>();
};

}  // namespace tarvic::test
