#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/model/Benches.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Setup.h"
#include "tarvic/platform/MemoryProfile.h"

namespace banc::test {

// The parameter named so, common or of the bench; throws when there is none.
const ParameterDef& FindParameter(const Bench& bench, const std::string& name);

// Settings of `bench` in `mode`, with the parameters given by name.
Settings MakeSettings(const char* bench, const char* mode,
                      std::initializer_list<std::pair<const char*, float>> values = {});

// A measurement in percent of point i that rises by 6.25 % a point from 0 to
// 100 %, stands at 110 % at points 20 to 22, then at 100 %.
float RampWithOvershoot(int i);

// A temporary folder, removed with everything in it at destruction.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
// The names in the folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

// A disk of 64 KiB, or `kib` (a tmpfs in a temporary folder) that a test fills, for the
// writes a full disk refuses. Mounting needs root: Mounted() says whether it is there.
class SmallDisk {
public:
    explicit SmallDisk(int kib = 64);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return m_mounted; }
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Fills it with a file of its own but for `spare` bytes (whole pages of 4 KiB).
    void Fill(std::size_t spare = 0);
    // The files on it but the filler, by name.
    std::vector<std::string> Files() const;

private:
    TemporaryFolder m_folder;
    std::string m_path;
    bool m_mounted = false;
};

}  // namespace banc::test
