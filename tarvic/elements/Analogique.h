#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tarvic/platform/Export.h"

namespace tarvic {
class Profile;
}

// The card's analog channels as the air flow and water level benches use them:
// the last readings of the two outputs and three inputs on the card's 0 to 20 mA
// scale, the requests and replies that bring them, and the channel commands.
// Channels are stored 0-based and written 1-based. The readings sit in the
// benches' layouts where their output and input arrays stand, so this class
// holds exactly those two arrays and nothing else.
class TARVIC_EXPORT CAnalogique {
public:
    static constexpr int NbSorties = 2;
    static constexpr int NbEntrees = 3;

    // 0 -> "AEBC", 1 -> "ASBC", other -> "".
    static std::string DmdMesure(int n);
    // Takes over an "AEBC" reply (three signed 16-bit fields, raw / input full
    // scale × 20) or else an "ASBC" reply (two bytes, raw / 255 × 20). Fields
    // missing from a short reply keep their value. False when neither is there.
    bool TraitRecept(std::string_view reply, float fsEntree);
    // n = 0 to 2: input reading n; 3, 4: output reading n − 3. False for other n.
    bool LitSonde(int n, float& v) const;
    // An input reading as percent of the 4 to 20 mA span; 0 for an input the card does not have.
    float Pourcent420(int entree) const;

    // Fragments and commands with a 0-based channel.
    static std::string SelecteurVoie(int voie);                                           // "TB%x"
    static std::string NumeroVoie(int voie);                                              // "%d"
    static std::string ConfSortie(int voie, int code);                                    // "DFS%d%1.1x"
    static std::string ConfEntree(int numero);                                            // "DFE%d4", numero 1-based
    static std::string CommandeIndependante(const char* mnemonique, std::int32_t octet);  // "%s%2.2X"

    // Generator and controller defaults of the percent benches: "GENE1" in mode
    // 0, "GENE" and "PID" in mode 1, "GENE" and "CorZ" in mode 3, in this order.
    static void EcritDefautsModes(tarvic::Profile& profile, char process, const char* ti, const char* td);

private:
    std::array<float, NbSorties> m_sortie{};  // 0 to 20
    std::array<float, NbEntrees> m_entree{};  // 0 to 20
};

static_assert(sizeof(CAnalogique) == 5 * sizeof(float), "the readings are part of the benches' layouts");
