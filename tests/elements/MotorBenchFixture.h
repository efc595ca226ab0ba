#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tarvic/platform/Archive.h"
#include "tarvic/platform/MemoryProfile.h"

namespace motortest {

// A profile that remembers every read ("SECTION/ENTRY") and every write
// ("SECTION/ENTRY=value") in the order they were made; integers go through
// the string operations, so they are seen too.
class RecordingProfile : public tarvic::MemoryProfile {
public:
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override
    {
        reads.push_back(section + "/" + entry);
        return MemoryProfile::GetProfileString(section, entry, defaultValue);
    }
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override
    {
        writes.push_back(section + "/" + entry + "=" + value);
        return MemoryProfile::WriteProfileString(section, entry, value);
    }
    std::string Value(const std::string& section, const std::string& entry)
    {
        return MemoryProfile::GetProfileString(section, entry, "<none>");
    }
    void Forget()
    {
        reads.clear();
        writes.clear();
    }

    std::vector<std::string> reads;
    std::vector<std::string> writes;
};

// Every test runs on its own recording profile, on the bench of `letter`.
class MotorBenchTest : public ::testing::Test {
protected:
    explicit MotorBenchTest(char letter) : m_letter(letter) {}
    void SetUp() override
    {
        tarvic::SetProfile(m_profile);
        m_profile->WriteProfileInt("TYPE", "PO", m_letter);
        m_profile->Forget();
    }
    void TearDown() override { tarvic::SetProfile(nullptr); }

    std::shared_ptr<RecordingProfile> m_profile = std::make_shared<RecordingProfile>();
    char m_letter;
};

// The writes of a generator section's defaults ("TYPE" then its nine texts),
// appended to `writes`; the entries that differ between the sections are given.
inline void AddGeneWrites(std::vector<std::string>& writes, const std::string& section, const char* echelon,
                          const char* repos, const char* amplitude)
{
    writes.push_back(section + "/TYPE=0");
    const std::pair<const char*, const char*> texts[] = {
        {"ECHELON", echelon}, {"ACCELERATION", "20.0"}, {"RAMPE", "10.0"},       {"FREQUENCE", "1.0"},
        {"RETARD", "0.1"},    {"C_REPOS", repos},       {"TE_PT", "10.0"},       {"AMPLITUDE", amplitude},
        {"TE_SINUS", "10.0"},
    };
    for (const auto& [entry, text] : texts) writes.push_back(section + "/" + entry + "=" + text);
}

inline void AddPidWrites(std::vector<std::string>& writes, const std::string& section)
{
    for (const char* entry : {"KP=1.0", "KS=1.0", "TI=0.100", "TD=0.060", "KF=8.0"})
        writes.push_back(section + "/" + entry);
}

inline std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int v : values) bytes.push_back(static_cast<char>(v));
    return bytes;
}

inline std::string Store(CObject& element)
{
    std::stringstream stream;
    {
        CArchive ar(stream, CArchive::store);
        element.Serialize(ar);
    }
    return stream.str();
}

// Loads the record into the element; true when the archive took exactly the record.
inline bool Load(CObject& element, const std::string& bytes)
{
    std::stringstream stream(bytes);
    CArchive ar(stream, CArchive::load);
    element.Serialize(ar);
    return !ar.Failed() && ar.IsBufferEmpty();
}

// Writes the element as an object (class name and record) and reads it back
// as a caller that only knows it is an element would.
template <class Base>
std::unique_ptr<Base> RoundTripAsObject(const CObject& element)
{
    std::stringstream stream;
    {
        CArchive ar(stream, CArchive::store);
        ar.WriteObject(&element);
    }
    CArchive ar(stream, CArchive::load);
    return std::unique_ptr<Base>(static_cast<Base*>(ar.ReadObject(Base::GetThisClass())));
}

}  // namespace motortest
