#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace tarvic::test {

// A private folder under the system's temporary one, removed with all it holds.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix)
        : m_path(std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The path of `name` in the folder.
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

}  // namespace tarvic::test
