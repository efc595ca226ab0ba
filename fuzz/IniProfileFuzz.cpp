// libFuzzer target: the profile store on any file and any names and values.
// A write that succeeds reads back as the host reads values (blanks around
// them and one pair of quotes dropped) and leaves every other entry as it
// was; a write that fails leaves the file as it was.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "tarvic/platform/IniProfile.h"

using namespace tarvic::fuzz;
namespace fs = std::filesystem;

namespace {

// A private directory, in memory where the machine has one: every write syncs.
const std::string& ProfilePath()
{
    static const std::string path = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        const fs::path directory = base / ("tarvic-ini-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(directory);
        return (directory / "p.ini").string();
    }();
    return path;
}

std::string Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream all;
    all << file.rdbuf();
    return all.str();
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string AsRead(const std::string& value)
{
    const std::string trimmed = Trimmed(value);
    if (trimmed.size() >= 2 && (trimmed.front() == '"' || trimmed.front() == '\'') && trimmed.back() == trimmed.front())
        return trimmed.substr(1, trimmed.size() - 2);
    return trimmed;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    const std::string section = in.Text(), entry = in.Text(), value = in.Text();
    const std::string otherSection = in.Text(), otherEntry = in.Text();
    const std::string& path = ProfilePath();
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << in.Rest();
    }
    const std::string before = Contents(path);
    tarvic::IniProfile profile(path);
    const std::string other = profile.GetProfileString(otherSection, otherEntry, "<absent>");
    profile.GetProfileInt(otherSection, otherEntry, 7);

    if (!profile.WriteProfileString(section, entry, value)) {
        Check(Contents(path) == before, "a refused write leaves the file as it was");
        return 0;
    }
    Check(profile.GetProfileString(section, entry, "<absent>") == AsRead(value), "a write reads back");
    if (!SameName(Trimmed(otherSection), section) || !SameName(Trimmed(otherEntry), entry))
        Check(profile.GetProfileString(otherSection, otherEntry, "<absent>") == other,
              "a write leaves the other entries alone");
    return 0;
}
