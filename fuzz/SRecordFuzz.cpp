// libFuzzer target: any file content read by SRecord stays inside the line,
// the caller's buffer and the block format.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tarvic/serial/SRecord.h"

namespace {

const std::string& ImagePath()
{
    static const std::string path = [] {
        char name[] = "/tmp/srecord-fuzz-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) std::abort();
        close(fd);
        return std::string(name);
    }();
    return path;
}

void Check(bool condition)
{
    if (!condition) std::abort();
}

void ReadAll(SRecord& reader)
{
    // Exactly the documented size, so that the address sanitizer sees any write past it.
    const auto buffer = std::make_unique<char[]>(SRecord::TailleTampon);
    for (int call = 0; call <= reader.LitNbLigne(); ++call) {
        int nbOctets = -1;
        int adresse = 0;
        if (reader.LitSRecord(buffer.get(), nbOctets, adresse) == 0) {
            Check(nbOctets == 0);
            return;
        }
        Check(nbOctets > 6 && nbOctets <= SRecord::MaxOctetsBloc + 6);
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.get());
        Check((bytes[4] << 8 | bytes[5]) == nbOctets - 6);
        const std::uint32_t header =
            std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
        Check(header == static_cast<std::uint32_t>(adresse));
    }
    // Every call but the last consumes at least one line: more calls mean a loop.
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(ImagePath().c_str(), "wb");
    if (!file) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    SRecord reader(ImagePath());
    SRecord copy(reader);
    ReadAll(reader);
    Check(reader.LitLigne() <= reader.LitNbLigne());
    ReadAll(copy);  // the shared file is at its end: the copy's pending line at most
    return 0;
}
