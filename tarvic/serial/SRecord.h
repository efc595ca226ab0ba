#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "tarvic/platform/Export.h"

// Reads a program image in Motorola S-record text and hands it out as blocks
// of contiguous memory ready to be downloaded to the card. Only the 32-bit
// data records (S3) and the 32-bit start address (S7) are used; every other
// line is skipped.
//
// Each block is written to the caller's buffer (at least TailleTampon bytes)
// as: 4-byte load address, 2-byte data count n (both big-endian), n data bytes.
// A block stops at an address gap, before the S7 record, and before it would
// exceed 1017 data bytes; the record that stopped it starts the next block.
//
// A data record the line cannot back (a byte count the line does not hold,
// characters that are not hexadecimal) is skipped, and an S7 address of more
// than 8 digits is not taken. Checksums do not decide anything: records whose
// checksum does not match (or cannot be computed) are only counted.
class TARVIC_EXPORT SRecord {
public:
    static constexpr int TailleTampon = 2048;
    static constexpr int MaxOctetsBloc = 1017;

    // A file that cannot be opened gives no block and LitNbLigne() == 0.
    explicit SRecord(const std::string& path);
    // A copy shares the open file and its position with the original; the
    // file is closed when the last of the objects sharing it is destroyed.
    SRecord(const SRecord& other) = default;
    SRecord& operator=(const SRecord& other) = default;
    virtual ~SRecord();

    // Next block into `buffer`: returns 1 with `nbOctets` = n + 6 and `adresse`
    // the block's load address, or 0 with `nbOctets` = 0 when no data is left.
    int LitSRecord(char* buffer, int& nbOctets, int& adresse);
    int LitNbLigne() const { return m_nbLignes; }
    int LitLigne() const { return m_numLigne; }
    int LitStartAdr() const { return m_adrDepart; }
    // Records read so far whose checksum does not match or cannot be computed.
    int LitNbErreurSomme() const { return m_nbErreurSomme; }

    // Data bytes of the current line (negative when it holds none, or when its
    // byte count is not hexadecimal); moves m_posDonnees past the address.
    int LNbc();

private:
    // Address field of the current line; false when it is not made of 1 to 8
    // hexadecimal digits inside the line.
    bool LAdresse(std::uint32_t& adresse) const;
    // Reads one physical line into m_ligne, keeping its first 2047 characters
    // and dropping the rest; false at end of file.
    bool LireLigneSuivante();
    // The current line without its end-of-line characters.
    std::string_view Ligne() const;
    bool DonneesLisibles(int nbOctets) const;
    bool SommeJuste() const;

    std::int32_t m_adresse = 0;
    std::shared_ptr<std::FILE> m_fichier;
    std::int32_t m_adrDepart = 0;
    std::int8_t m_lireLigne = 1;
    std::int32_t m_posDonnees = 0;
    std::int32_t m_numLigne = 0;
    std::int32_t m_nbLignes = 0;
    char m_ligne[TailleTampon] = {};
    std::int32_t m_nbErreurSomme = 0;
};
