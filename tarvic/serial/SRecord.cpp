#include "tarvic/serial/SRecord.h"

#include <cstring>

#include "tarvic/platform/Text.h"

namespace {

// The block is assembled as text: "%08lX%04X" header, then two characters per
// data byte, all below the last usable position of the caller's buffer.
constexpr int LongueurEntete = 12;
constexpr int FinTexte = SRecord::TailleTampon - 1;
constexpr int LongueurLigneMax = SRecord::TailleTampon - 1;

bool LitOctet(std::string_view text, std::ptrdiff_t position, std::uint32_t& octet)
{
    return tarvic::ReadHexField(text, position, 2, octet);
}

bool EstType(const char* ligne, char type) { return ligne[0] == 'S' && ligne[1] == type; }

}  // namespace

SRecord::SRecord(const std::string& path)
{
    if (std::FILE* fichier = std::fopen(path.c_str(), "r")) {
        m_fichier.reset(fichier, [](std::FILE* f) { std::fclose(f); });
        while (LireLigneSuivante()) ++m_nbLignes;
        std::rewind(fichier);
        m_ligne[0] = '\0';
    }
}

SRecord::~SRecord() = default;

bool SRecord::LireLigneSuivante()
{
    if (!m_fichier) return false;
    std::FILE* fichier = m_fichier.get();
    int c = std::getc(fichier);
    if (c == EOF) return false;
    int longueur = 0;
    // A record never needs more than 514 characters: what lies past the kept
    // part of an over-long line is dropped rather than read as a new line.
    for (; c != EOF && c != '\n'; c = std::getc(fichier))
        if (longueur < LongueurLigneMax) m_ligne[longueur++] = static_cast<char>(c);
    m_ligne[longueur] = '\0';
    return true;
}

std::string_view SRecord::Ligne() const
{
    const std::string_view ligne(m_ligne);
    return ligne.substr(0, ligne.find_first_of("\r\n"));
}

int SRecord::LNbc()
{
    std::uint32_t nbOctets = 0;
    if (!LitOctet(Ligne(), 2, nbOctets)) return -1;
    const int k = static_cast<int>(nbOctets);
    switch (m_ligne[1]) {
    case '1': m_posDonnees += 4; return k - 3;
    case '2': m_posDonnees += 6; return k - 4;
    case '3': m_posDonnees += 8; return k - 5;
    default: return k - 1;
    }
}

bool SRecord::LAdresse(std::uint32_t& adresse) const
{
    const std::string_view ligne = Ligne();
    int chiffres = 0;
    switch (m_ligne[1]) {
    case '1': chiffres = 4; break;
    case '2': chiffres = 6; break;
    case '3': chiffres = 8; break;
    case '7': {
        std::uint32_t nbOctets = 0;
        if (!LitOctet(ligne, 2, nbOctets)) return false;
        chiffres = (static_cast<int>(nbOctets) - 1) * 2;
        break;
    }
    default: return false;
    }
    // ReadHexField refuses more than 8 digits and any digit outside the line.
    return tarvic::ReadHexField(ligne, 4, chiffres, adresse);
}

bool SRecord::DonneesLisibles(int nbOctets) const
{
    const std::string_view ligne = Ligne();
    std::uint32_t octet = 0;
    for (int i = 0; i < nbOctets; ++i)
        if (!LitOctet(ligne, m_posDonnees + 2 * i, octet)) return false;
    return true;
}

bool SRecord::SommeJuste() const
{
    const std::string_view ligne = Ligne();
    std::uint32_t nbOctets = 0;
    if (!LitOctet(ligne, 2, nbOctets)) return false;
    // The byte count, the address, the data and the checksum add up to 0xFF.
    std::uint32_t somme = 0;
    for (std::uint32_t i = 0; i <= nbOctets; ++i) {
        std::uint32_t octet = 0;
        if (!LitOctet(ligne, 2 + 2 * static_cast<std::ptrdiff_t>(i), octet)) return false;
        somme += octet;
    }
    return (somme & 0xFF) == 0xFF;
}

int SRecord::LitSRecord(char* buffer, int& nbOctets, int& adresse)
{
    int total = 0;
    bool premierPris = false;  // an address of 0 is valid, so it cannot mark "none yet"
    std::uint32_t suivante = 0;
    std::uint32_t adresseBloc = 0;
    int position = LongueurEntete;
    // A pending line is processed even when it was the file's last one, so
    // that neither the block it starts nor the S7 record is lost.
    while (m_lireLigne == 0 || m_numLigne < m_nbLignes) {
        if (m_lireLigne != 0) {
            if (!LireLigneSuivante()) break;
            ++m_numLigne;
            m_lireLigne = 0;
            if (m_ligne[0] == 'S' && !SommeJuste()) ++m_nbErreurSomme;
        }
        if (EstType(m_ligne, '3')) {
            m_posDonnees = 4;
            const int n = LNbc();
            std::uint32_t a = 0;
            if (n <= 0 || !LAdresse(a) || !DonneesLisibles(n)) {
                m_lireLigne = 1;  // nothing usable in it
                continue;
            }
            m_adresse = static_cast<std::int32_t>(a);
            if (position + 2 * n >= FinTexte || (premierPris && a != suivante)) break;
            if (!premierPris) {
                premierPris = true;
                adresseBloc = a;
                adresse = static_cast<int>(a);
            }
            std::memcpy(buffer + position, m_ligne + m_posDonnees, static_cast<std::size_t>(2 * n));
            total += n;
            position += 2 * n;
            suivante = a + static_cast<std::uint32_t>(n);
            m_lireLigne = 1;
        } else if (EstType(m_ligne, '7')) {
            if (total > 0) break;
            std::uint32_t depart = 0;
            if (LAdresse(depart)) m_adrDepart = static_cast<std::int32_t>(depart);
            m_lireLigne = 1;
            break;
        } else {
            m_lireLigne = 1;
        }
    }

    nbOctets = total;
    if (total == 0) return 0;
    const std::string entete =
        tarvic::Format("%08lX%04X", static_cast<unsigned long>(adresseBloc), static_cast<unsigned>(total));
    std::memcpy(buffer, entete.data(), LongueurEntete);
    buffer[position] = '\0';
    nbOctets += 6;
    // In place: byte i is written after the pair at 2i has been read.
    const std::string_view texte(buffer, static_cast<std::size_t>(position));
    for (int i = 0; i < nbOctets; ++i) {
        std::uint32_t octet = 0;
        LitOctet(texte, 2 * i, octet);
        buffer[i] = static_cast<char>(octet & 0xFF);
    }
    return 1;
}
