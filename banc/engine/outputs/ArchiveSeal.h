#pragma once

#include <string>

namespace banc {

// The integrity check the console adds after an experiment archive: the tag
// "TBCCRC32", then the length of what it covers and the CRC-32 of it, both
// 4-byte little-endian, 16 bytes in all. The library reads its objects from
// the start and stops at their end, so a reader that knows nothing of the
// check is not disturbed by it; and only a tag whose length is that of the
// content before it counts, which no content can be mistaken for.
std::string Sealed(std::string content);

enum class Seal {
    Intact,  // the content is as written
    Absent,  // an older archive, or one of another application: nothing to check
    Broken,  // the content, or the check itself, was changed
};
// Checks the seal and takes it off the bytes, leaving the content.
Seal Unseal(std::string& bytes);

}  // namespace banc
