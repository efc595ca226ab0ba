#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace banc {

// A file replaced whole or not at all: its bytes go to a temporary file in
// the target's folder, are synced to the disk, then renamed over the target.
// On any failure (a full disk...) the temporary file is removed and the
// target stays as it was. Errors are errno values, 0 for none.
class SafeFile {
public:
    SafeFile() = default;
    ~SafeFile() { Abandon(); }
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Makes the temporary file; a link as the target is written through.
    int Create(const std::string& path);
    // All the bytes or none: a write that fails is cut away.
    int Append(std::string_view bytes);
    // Syncs, closes and renames over the target.
    int Commit();
    // Removes the temporary file.
    void Abandon();
    bool IsOpen() const { return m_fd >= 0; }

private:
    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    off_t m_size = 0;
};

// `bytes` as the whole content of `path`, on the same terms.
int WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace banc
