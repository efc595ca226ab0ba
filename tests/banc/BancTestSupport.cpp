#include "BancTestSupport.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace banc::test {

const ParameterDef& FindParameter(const Bench& bench, const std::string& name)
{
    for (const auto* table : {&CommonParameters(), &bench.parameters})
        for (const auto& def : *table)
            if (name == def.name) return def;
    throw std::invalid_argument(name);
}

Settings MakeSettings(const char* bench, const char* mode, std::initializer_list<std::pair<const char*, float>> values)
{
    Settings settings;
    settings.bench = FindBench(bench);
    settings.mode = FindMode(*settings.bench, mode);
    for (const auto& [name, value] : values) settings.values.emplace_back(&FindParameter(*settings.bench, name), value);
    return settings;
}

float RampWithOvershoot(int i)
{
    if (i >= 20 && i <= 22) return 110;
    return std::min(100.0f, 6.25f * static_cast<float>(i));
}

TemporaryFolder::TemporaryFolder()
{
    char pattern[] = "/tmp/tarvic-banc-test-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("no temporary folder");
    m_path = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

namespace {
constexpr const char* kFiller = "remplissage";
}

SmallDisk::SmallDisk(int kib) : m_path(m_folder.File("disque"))
{
    std::filesystem::create_directory(m_path);
    m_mounted = ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, ("size=" + std::to_string(kib) + "k").c_str()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted) ::umount2(m_path.c_str(), MNT_DETACH);
}

void SmallDisk::Fill(std::size_t spare)
{
    const std::string filler = File(kFiller);
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("cannot fill " + m_path);
    const std::string page(4096, 'x');
    off_t size = 0;
    for (ssize_t written; (written = ::write(fd, page.data(), page.size())) > 0;) size += written;
    const bool freed = ::ftruncate(fd, size - static_cast<off_t>(spare)) == 0;
    ::close(fd);
    if (!freed) throw std::runtime_error("cannot free space on " + m_path);
}

std::vector<std::string> SmallDisk::Files() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        if (entry.path().filename() != kFiller) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace banc::test
