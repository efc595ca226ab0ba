#pragma once

// What the fuzz targets share: a property check that stops the run, a reader
// of the fuzzer's bytes, archive round trips and the elements to try.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "support/ArchiveBytes.h"
#include "tarvic/elements/EidElement.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/MemoryProfile.h"

namespace tarvic::fuzz {

// A broken property is a finding, like a crash.
inline void Check(bool condition, const char* property)
{
    if (condition) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

// The fuzzer's bytes, taken from the front; zeros once they run out.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_rest(reinterpret_cast<const char*>(data), size) {}

    bool Empty() const { return m_rest.empty(); }
    std::uint8_t Byte()
    {
        if (m_rest.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return byte;
    }
    // A length byte, then at most that many bytes.
    std::string Text() { return Take(Byte()); }
    std::string Take(std::size_t count)
    {
        const std::string taken(m_rest.substr(0, count));
        m_rest.remove_prefix(taken.size());
        return taken;
    }
    std::string Rest() { return Take(m_rest.size()); }

private:
    std::string_view m_rest;
};

using tarvic::test::StoredBytes;

// True when the archive held a whole record.
inline bool Load(CObject& object, const std::string& bytes)
{
    return tarvic::test::LoadBytes(object, bytes).has_value();
}

// A fresh profile that puts the elements made next on one bench, in one mode.
inline void UseBench(std::uint8_t choice)
{
    static constexpr char kLetters[] = {'D', 'I', 'N', 'S', 'X'};
    auto profile = std::make_shared<MemoryProfile>();
    profile->WriteProfileInt("TYPE", "PO", kLetters[choice % sizeof kLetters]);
    profile->WriteProfileInt("TYPE", "REGULATEUR", choice / sizeof kLetters % 4);
    SetProfile(profile);
}

// Every element class that archives, by the name the loaders create it from.
inline constexpr const char* kElementClasses[] = {
    "CEidElement", "CAxeNum", "CDebitAir", "CIaPV",       "CNiveauEau",    "CSynum",
    "CPid",        "CTor",    "CCorZ",     "CBoFonction", "CGeneFonction", "CEnregistrement",
};
inline constexpr std::size_t kElementClassCount = std::size(kElementClasses);

inline std::unique_ptr<CEidElement> MakeElement(std::uint8_t choice)
{
    const CRuntimeClass* record = CRuntimeClass::FromName(kElementClasses[choice % kElementClassCount]);
    Check(record != nullptr, "every element class is registered");
    return std::unique_ptr<CEidElement>(static_cast<CEidElement*>(record->CreateObject()));
}

}  // namespace tarvic::fuzz
