#pragma once

#include <string>
#include <vector>

#include "ElementTestSupport.h"

namespace motortest {

// Tests of one motorised bench: the profile says the bench is `letter`, and
// the logs start empty.
class MotorBenchTest : public tarvic::test::BenchTest {
protected:
    MotorBenchTest(char letter, const char* section) : BenchTest(section), m_letter(letter) {}
    void SetUp() override
    {
        BenchTest::SetUp();
        m_profile->WriteProfileInt("TYPE", "PO", m_letter);
        Forget();
    }
    void Forget()
    {
        m_profile->m_reads.clear();
        m_profile->m_writes.clear();
    }
    // Entries of the bench's own section, as the recording profile logs them.
    std::vector<std::string> Logged(std::initializer_list<const char*> entries) const
    {
        std::vector<std::string> logged;
        for (const char* entry : entries) logged.push_back(m_section + "/" + entry);
        return logged;
    }

    char m_letter;
};

// The controller defaults every motorised bench writes for its PID sections.
inline std::vector<std::string> PidWrites(const std::string& section)
{
    std::vector<std::string> writes;
    for (const char* entry : {"KP=\"1.0\"", "KS=\"1.0\"", "TI=\"0.100\"", "TD=\"0.060\"", "KF=\"8.0\""})
        writes.push_back(section + "/" + entry);
    return writes;
}

}  // namespace motortest
