#include "engine/outputs/ArchiveSeal.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace banc {
namespace {

constexpr std::string_view kTag = "TBCCRC32";
constexpr std::size_t kSealBytes = kTag.size() + 4 + 4;

std::uint32_t Crc32(std::string_view bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most 4 GiB a call; an archive is far smaller, but a loop costs nothing.
    for (std::size_t done = 0; done < bytes.size();) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + done), chunk);
        done += chunk;
    }
    return static_cast<std::uint32_t>(crc);
}

void AppendWord(std::string& bytes, std::uint32_t word)
{
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((word >> shift) & 0xFF);
}

std::uint32_t WordAt(const std::string& bytes, std::size_t at)
{
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i)
        word = (word << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return word;
}

}  // namespace

std::string Sealed(std::string content)
{
    const std::uint32_t length = static_cast<std::uint32_t>(content.size());
    const std::uint32_t crc = Crc32(content);
    content += kTag;
    AppendWord(content, length);
    AppendWord(content, crc);
    return content;
}

Seal Unseal(std::string& bytes)
{
    if (bytes.size() < kSealBytes) return Seal::Absent;
    const std::size_t seal = bytes.size() - kSealBytes;
    if (std::string_view(bytes).substr(seal, kTag.size()) != kTag) return Seal::Absent;
    const std::uint32_t length = WordAt(bytes, seal + kTag.size());
    const std::uint32_t crc = WordAt(bytes, seal + kTag.size() + 4);
    if (length != seal || crc != Crc32(std::string_view(bytes).substr(0, seal))) return Seal::Broken;
    bytes.resize(seal);
    return Seal::Intact;
}

}  // namespace banc
