#include "tarvic/platform/IniProfileFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <string_view>

namespace tarvic {
namespace {

namespace fs = std::filesystem;

// A temporary is "<profile>.tmp." and the six characters mkostemp chooses.
constexpr std::string_view kTemporaryMark = ".tmp.";
constexpr std::size_t kTemporaryRandom = 6;

fs::path DirectoryOf(const std::string& path)
{
    const fs::path target(path);
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// Temporaries are only made under the lock: one that the lock's holder finds
// belongs to a writer that died before its rename.
void RemoveStaleTemporaries(const std::string& path)
{
    const std::string prefix = fs::path(path).filename().string() + std::string(kTemporaryMark);
    std::error_code error;
    for (fs::directory_iterator it(DirectoryOf(path), error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + kTemporaryRandom || name.compare(0, prefix.size(), prefix) != 0) continue;
        if (std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                        [](unsigned char c) { return std::isalnum(c) != 0; }))
            ::unlink(it->path().c_str());
    }
}

bool WriteAll(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// The owner first: a change of owner clears the set-id bits that the mode then restores.
bool TakeOwnerAndMode(int fd, const struct stat& replaced)
{
    // Giving a file away takes a privilege most writers lack: without it the
    // file becomes the writer's, as any file it writes.
    if ((replaced.st_uid != ::geteuid() || replaced.st_gid != ::getegid()) &&
        ::fchown(fd, replaced.st_uid, replaced.st_gid) != 0 && errno != EPERM)
        return false;
    return ::fchmod(fd, replaced.st_mode & 07777) == 0;
}

void SyncDirectory(const std::string& path)
{
    const int fd = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // the rename is done and visible: a failure here only weakens the power-cut guarantee
    ::close(fd);
}

}  // namespace

std::string ProfileFileBehind(const std::string& path)
{
    constexpr int kMaxLinks = 40;  // as deep as the system follows links itself
    fs::path file(path);
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        std::error_code error;
        // Whatever stops the walk here stops the open that follows, with its own errno.
        if (!fs::is_symlink(fs::symlink_status(file, error))) return file.string();
        const fs::path target = fs::read_symlink(file, error);
        if (error) {
            errno = error.value();
            return {};
        }
        // Relative to the link's folder as the system finds it: not normalised,
        // so that ".." after a linked folder leads where the system leads.
        file = target.is_absolute() ? target : DirectoryOf(file.string()) / target;
    }
    errno = ELOOP;
    return {};
}

ProfileWriteLock::ProfileWriteLock(const std::string& path)
{
    for (;;) {
        m_fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0) return;
        int locked;
        do {
            locked = ::flock(m_fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        struct stat atPath{};
        const int statError = ::stat(path.c_str(), &atPath) == 0 ? 0 : errno;
        const bool held = locked == 0 && ::fstat(m_fd, &m_file) == 0;
        if (held && statError == 0 && atPath.st_dev == m_file.st_dev && atPath.st_ino == m_file.st_ino) return;
        ::close(m_fd);
        m_fd = -1;
        // Replaced or removed while we waited: lock the file now at the path.
        if (!held || (statError != 0 && statError != ENOENT)) return;
    }
}

ProfileWriteLock::~ProfileWriteLock()
{
    if (m_fd >= 0) ::close(m_fd);
}

bool ReplaceProfileFile(const ProfileWriteLock& lock, const std::string& path, const std::string& text)
{
    if (!lock.Held()) return false;
    RemoveStaleTemporaries(path);
    std::string temporary = path + std::string(kTemporaryMark) + std::string(kTemporaryRandom, 'X');
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text) && TakeOwnerAndMode(fd, lock.File());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncDirectory(path);
    return true;
}

}  // namespace tarvic
