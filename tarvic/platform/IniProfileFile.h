#pragma once

#include <sys/stat.h>

#include <string>

namespace tarvic {

// A profile file held for one read-modify-write against every writer of it,
// in this process or any other: an exclusive flock on the file, created
// empty when missing. Writers replace the file, so a lock won on a file that
// is no longer the one at the path is let go and taken on the new one.
class ProfileWriteLock {
public:
    explicit ProfileWriteLock(const std::string& path);  // waits for the lock
    ~ProfileWriteLock();
    ProfileWriteLock(const ProfileWriteLock&) = delete;
    ProfileWriteLock& operator=(const ProfileWriteLock&) = delete;

    bool Held() const { return m_fd >= 0; }
    // The locked file as it is: mode and owner of the file that replaces it.
    const struct stat& File() const { return m_file; }

private:
    int m_fd = -1;
    struct stat m_file{};
};

// The file that a write of the profile at `path` replaces: the end of its
// chain of symbolic links, so that a linked profile (settings shared between
// accounts) stays a link and its target takes the change. Empty, with errno
// set, for a chain that loops or cannot be read.
std::string ProfileFileBehind(const std::string& path);

// Puts `text` in place of the locked file at `path`: a temporary beside it,
// given the file's mode and owner, synced, renamed over it, then the
// directory synced, so that a power cut keeps the old file or the new one.
// Temporaries that writers killed on the way left behind go first. False,
// with the file untouched, when it could not be replaced.
bool ReplaceProfileFile(const ProfileWriteLock& lock, const std::string& path, const std::string& text);

}  // namespace tarvic
