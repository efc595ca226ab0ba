#include "engine/outputs/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace banc {
namespace {

std::string Folder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename is on the disk only once the folder is.
void SyncFolder(const std::string& path)
{
    const int folder = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    ::fsync(folder);  // some file systems refuse it on a folder: the file itself is synced
    ::close(folder);
}

}  // namespace

int SafeFile::Create(const std::string& path)
{
    Abandon();
    m_target = path;
    struct stat info{};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::error_code error;
        const auto resolved = std::filesystem::weakly_canonical(path, error);
        if (error) return error.value();
        m_target = resolved.string();
    }
    const bool exists = ::stat(m_target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) return EISDIR;
    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_temporary = m_target + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) {
            const int error = errno;
            m_temporary.clear();
            return error;
        }
    }
    // A file replaced keeps its permissions.
    if (exists) ::fchmod(m_fd, info.st_mode & 07777);
    m_size = 0;
    return 0;
}

int SafeFile::Append(std::string_view bytes)
{
    if (m_fd < 0) return EBADF;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            if (::ftruncate(m_fd, m_size) == 0) ::lseek(m_fd, m_size, SEEK_SET);
            return error;
        }
        done += static_cast<std::size_t>(written);
    }
    m_size += static_cast<off_t>(bytes.size());
    return 0;
}

int SafeFile::Commit()
{
    if (m_fd < 0) return EBADF;
    int error = ::fsync(m_fd) == 0 ? 0 : errno;
    if (::close(m_fd) != 0 && error == 0) error = errno;
    m_fd = -1;
    if (error == 0 && std::rename(m_temporary.c_str(), m_target.c_str()) != 0) error = errno;
    if (error != 0) {
        Abandon();
        return error;
    }
    m_temporary.clear();
    SyncFolder(m_target);
    return 0;
}

void SafeFile::Abandon()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

int WriteWholeFile(const std::string& path, std::string_view bytes)
{
    SafeFile file;
    if (const int error = file.Create(path)) return error;
    if (const int error = file.Append(bytes)) return error;
    return file.Commit();
}

}  // namespace banc
