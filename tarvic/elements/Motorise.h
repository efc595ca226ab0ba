#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tarvic/platform/Export.h"

namespace tarvic {
class Profile;
}

// The motor measurements of a motorised bench (axis, motor and load,
// electrical load), raw as the card sends them. The benches keep them at the
// same place of their layout, so they are kept together.
struct SMesuresMoteur {
    float vitesse = 0.0f;   // counts per sampling period
    float position = 0.0f;  // encoder counts
    float acceleration = 0.0f;
    float m2 = 0.0f;
    float m3 = 0.0f;
};

// The unit choices of a motorised bench and the encoder they depend on, in the
// order the benches keep them.
struct SUnitesMoteur {
    std::int32_t acceleration = 0;
    std::int32_t vitesse = 0;
    std::int32_t position = 0;
    std::int32_t sr = 0;      // UNITE_SR
    std::int32_t codeur = 0;  // encoder lines per revolution; four counts per line
};

// Grouping the fields must not move them: each group lays out exactly as its
// fields would one by one.
static_assert(sizeof(SMesuresMoteur) == 5 * sizeof(float) && alignof(SMesuresMoteur) == alignof(float));
static_assert(sizeof(SUnitesMoteur) == 5 * sizeof(std::int32_t) && alignof(SUnitesMoteur) == alignof(std::int32_t));

// What tells the motorised benches apart in the handling they share.
struct SBancMoteur {
    char lettre;                 // fragment 1000
    bool axeLineaire;            // the axis: a linear position and speed unit 4, acceleration unit 3
    float diviseurM2;            // scale of the second "ASP" field (and of M4)
    bool champ4;                 // a fourth 12-bit "ASP" field before the position
    float courantPleineEchelle;  // factor 106 under current command, times 1024
};

// The behaviour the motorised benches share, over their own fields: motor
// settings and units as parameters and profile entries, unit conversions, the
// "ASP", "AVPI" and "AVPS" replies, and the motor commands. A bench makes one
// of these on its fields when it needs it; its own parameters, commands and
// replies come first and it hands the rest over.
class TARVIC_EXPORT CMotorise {
public:
    CMotorise(const SBancMoteur& banc, const std::string& section, std::int32_t& cdeMoteur, float& periode,
              SMesuresMoteur& mesures, std::uint16_t& cmmp, std::uint16_t& cmmv, SUnitesMoteur& unites,
              float* m4 = nullptr);  // where the fourth "ASP" field goes, if the bench keeps it

    // Profile at construction: "TEV", "CMMP", "CMMV", "CODEUR", then
    // "UNITE_POS", "UNITE_VIT", "UNITE_ACC", "UNITE_SR".
    void LitReglagesCarte(int codeurDefaut);
    void LitUnites(const SUnitesMoteur& defauts);

    // Factory defaults: "TEV" 5 and "CODEUR", then the four unit entries at 1.
    void EcritDefautsCarte(tarvic::Profile& profile, int codeur) const;
    void EcritDefautsUnites(tarvic::Profile& profile) const;
    // Generators and controllers of modes 0, 4 and 5 of the axis and motor
    // and load benches, which take the same ones.
    static void EcritDefautsModes(tarvic::Profile& profile, char lettre);

    // The shared parameter numbers; false (and nothing changed) for others.
    bool LitCParam(int n, int& v) const;
    bool SetCParam(int n, char ch);
    bool LitFParam(int n, float& v) const;
    bool SetFParam(int n, float v);
    float LitSonde(int n) const;
    std::string DmdMesure(int n) const;
    std::string ConfFerz(int n) const;
    // "ASP", "AVPI" or "AVPS", looked for in this order.
    bool TraitRecept(std::string_view reply);
    // " Cde en tension\n", ", Commande en courant", ...
    std::string DescriptionCommande(int layout) const;

    std::string CommandeCmmp() const;  // "DCMMP%2.2X"
    std::string CommandeCmmv() const;  // "DCMMV%2.2X"

    // Position units per encoder count (parameter 100).
    float FacteurPosition() const;
    // T: the speed sampling period in milliseconds.
    float Periode() const;

private:
    float FacteurVitesse() const;
    float FacteurRotatif(int n, float sortie) const;
    float PositionUtilisateur() const;
    float VitesseUtilisateur() const;
    float AccelerationUtilisateur() const;
    float Codeur() const;  // N
    float K() const;       // N × (T / 1000)² × 4
    void LitAsp(std::string_view reply, int debut);
    void EcritEntier(const char* entry, int value) const;

    const SBancMoteur& m_banc;
    const std::string& m_section;
    std::int32_t& m_cdeMoteur;
    float& m_periode;
    SMesuresMoteur& m_mesures;
    std::uint16_t& m_cmmp;
    std::uint16_t& m_cmmv;
    SUnitesMoteur& m_unites;
    float* m_m4;
};
