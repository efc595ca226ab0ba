#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/recording/BlocPoint.h"
#include "tarvic/recording/Enregistrement.h"

namespace tarvic::test {

// Raw values of one block as the card sends them, by row then point.
using Valeurs = std::array<std::array<std::uint16_t, CBlocPoint::kPoints>, CBlocPoint::kRangs>;

// The 2048 data digits of a block: point-major, the 16 rows of point 0 first.
std::string DonneesBloc(const Valeurs& valeurs);

// A block reply as TraitRecept receives it: "!" + "TSF" + block number + data
// + two framing characters of the card, 2056 characters in all.
std::string LigneBloc(int bloc, const Valeurs& valeurs);

// Values that tell every row and point apart: row r, point p holds r * 0x100 + p.
Valeurs ValeursDistinctes();

// A block of zeros with one cell set.
Valeurs ValeursAvec(int rang, int point, std::uint16_t valeur);

// Starts a new recording and feeds it one accepted block reply per entry.
void Acquiert(CEnregistrement& enregistrement, const std::vector<Valeurs>& blocs);

// Installs a fresh in-memory profile for the lifetime of the object, with the
// bench's process letter in "TYPE"/"PO".
class ProfilBanc {
public:
    explicit ProfilBanc(char process = 'D');
    ~ProfilBanc();
    ProfilBanc(const ProfilBanc&) = delete;
    ProfilBanc& operator=(const ProfilBanc&) = delete;

    MemoryProfile& Profil() { return *m_profil; }

private:
    std::shared_ptr<MemoryProfile> m_profil = std::make_shared<MemoryProfile>();
};

}  // namespace tarvic::test
