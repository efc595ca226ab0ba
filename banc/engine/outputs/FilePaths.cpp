#include "engine/outputs/FilePaths.h"

#include <filesystem>
#include <system_error>

namespace banc {
namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinks = 40;

fs::path Resolved(const std::string& text)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(text, error);
    if (error) return fs::path(text).lexically_normal();
    fs::path path = fs::weakly_canonical(absolute, error);
    if (error) return absolute.lexically_normal();
    // weakly_canonical leaves a link to a file not made yet as it is.
    for (int links = 0; links < kMaxLinks && fs::is_symlink(fs::symlink_status(path, error)); ++links) {
        const fs::path target = fs::read_symlink(path, error);
        if (error) break;
        const fs::path next = fs::weakly_canonical(path.parent_path() / target, error);
        if (error) break;
        path = next;
    }
    return path;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return fs::equivalent(a, b, error) || Resolved(a) == Resolved(b);
}

}  // namespace banc
