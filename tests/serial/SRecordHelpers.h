#pragma once

#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tarvic/platform/Text.h"
#include "tarvic/serial/SRecord.h"

namespace tarvic::test {

using Bytes = std::vector<std::uint8_t>;

// One block as LitSRecord handed it out, header decoded.
struct Block {
    std::uint32_t adresse = 0;  // from the header
    int adresseRendue = 0;      // from the address argument
    int nbOctets = 0;           // from the byte count argument
    Bytes donnees;

    bool operator==(const Block&) const = default;
};

inline std::uint32_t BigEndian(const char* bytes, int width)
{
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) value = value << 8 | static_cast<std::uint8_t>(bytes[i]);
    return value;
}

// Calls LitSRecord until it returns 0 (never more than `limite` times, so a
// reader that keeps returning blocks fails instead of hanging).
inline std::vector<Block> ReadBlocks(SRecord& reader, int limite = 10000)
{
    std::vector<Block> blocks;
    for (int i = 0; i < limite; ++i) {
        char buffer[SRecord::TailleTampon];
        Block block;
        if (reader.LitSRecord(buffer, block.nbOctets, block.adresseRendue) == 0) break;
        block.adresse = BigEndian(buffer, 4);
        const auto n = BigEndian(buffer + 4, 2);
        block.donnees.assign(buffer + 6, buffer + 6 + n);
        blocks.push_back(block);
    }
    return blocks;
}

// A record of the given type with its byte count and a correct checksum.
inline std::string Record(char type, int largeurAdresse, std::uint32_t adresse, const Bytes& donnees)
{
    const int nbOctets = largeurAdresse + static_cast<int>(donnees.size()) + 1;
    std::string line = Format("S%c%02X", type, nbOctets);
    unsigned somme = static_cast<unsigned>(nbOctets);
    for (int i = largeurAdresse - 1; i >= 0; --i) {
        const unsigned octet = (adresse >> (8 * i)) & 0xFF;
        line += Format("%02X", octet);
        somme += octet;
    }
    for (const auto octet : donnees) {
        line += Format("%02X", octet);
        somme += octet;
    }
    return line + Format("%02X", ~somme & 0xFF) + "\n";
}

inline std::string S3(std::uint32_t adresse, const Bytes& donnees) { return Record('3', 4, adresse, donnees); }
inline std::string S7(std::uint32_t depart) { return Record('7', 4, depart, {}); }

// `count` bytes counting up from `first`.
inline Bytes Serie(int count, std::uint8_t first = 0)
{
    Bytes bytes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

inline Bytes Part(const Bytes& bytes, std::size_t start, std::size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                 bytes.begin() + static_cast<std::ptrdiff_t>(start + count));
}

inline Bytes operator+(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Files of one test in a directory removed afterwards.
class TempFiles {
public:
    std::string Path(const std::string& name) const { return m_dir.filePath(QString::fromLatin1(name)).toStdString(); }
    std::string Write(const std::string& name, const std::string& content) const
    {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string Write(const std::string& name, const Bytes& content) const
    {
        return Write(name, std::string(content.begin(), content.end()));
    }

private:
    QTemporaryDir m_dir;
};

}  // namespace tarvic::test
