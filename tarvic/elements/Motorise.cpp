#include "tarvic/elements/Motorise.h"

#include <iterator>

#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/FactoryDefaults.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

namespace {

// One card tick in milliseconds.
constexpr float kTick = 0.9765f;

// The unit fields as character parameters 20 to 23 and profile entries, in the
// order they are read and written.
struct SUnite {
    std::int32_t SUnitesMoteur::* champ;
    const char* entry;
};
constexpr SUnite kUnites[] = {
    {&SUnitesMoteur::position, "UNITE_POS"},
    {&SUnitesMoteur::vitesse, "UNITE_VIT"},
    {&SUnitesMoteur::acceleration, "UNITE_ACC"},
    {&SUnitesMoteur::sr, "UNITE_SR"},
};
constexpr int kPremiereUnite = 20;

const SUnite* Unite(int n)
{
    const int i = n - kPremiereUnite;
    return i >= 0 && i < static_cast<int>(std::size(kUnites)) ? &kUnites[i] : nullptr;
}

}  // namespace

CMotorise::CMotorise(const SBancMoteur& banc, const std::string& section, std::int32_t& cdeMoteur, float& periode,
                     SMesuresMoteur& mesures, std::uint16_t& cmmp, std::uint16_t& cmmv, SUnitesMoteur& unites,
                     float* m4)
    : m_banc(banc), m_section(section), m_cdeMoteur(cdeMoteur), m_periode(periode), m_mesures(mesures), m_cmmp(cmmp),
      m_cmmv(cmmv), m_unites(unites), m_m4(m4)
{
}

void CMotorise::LitReglagesCarte(int codeurDefaut)
{
    const auto profile = tarvic::GetProfile();
    m_periode = static_cast<float>(profile->GetProfileInt(m_section, "TEV", 5));
    m_cmmp = static_cast<std::uint16_t>(profile->GetProfileInt(m_section, "CMMP", 0));
    m_cmmv = static_cast<std::uint16_t>(profile->GetProfileInt(m_section, "CMMV", 0));
    m_unites.codeur = profile->GetProfileInt(m_section, "CODEUR", codeurDefaut);
}

void CMotorise::LitUnites(const SUnitesMoteur& defauts)
{
    const auto profile = tarvic::GetProfile();
    for (const SUnite& unite : kUnites)
        m_unites.*unite.champ = profile->GetProfileInt(m_section, unite.entry, defauts.*unite.champ);
}

void CMotorise::EcritDefautsCarte(tarvic::Profile& profile, int codeur) const
{
    profile.WriteProfileInt(m_section, "TEV", 5);
    profile.WriteProfileInt(m_section, "CODEUR", codeur);
}

void CMotorise::EcritDefautsUnites(tarvic::Profile& profile) const
{
    for (const SUnite& unite : kUnites) profile.WriteProfileInt(m_section, unite.entry, 1);
}

void CMotorise::EcritDefautsModes(tarvic::Profile& profile, char lettre)
{
    static constexpr tarvic::PidDefaults pid{"1.0", "1.0", "0.100", "0.060", "8.0"};
    tarvic::WriteGeneDefaults(profile, tarvic::ModeSection(lettre, 0, "GENE1"),
                              {"100", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"});
    tarvic::WriteGeneDefaults(profile, tarvic::ModeSection(lettre, 4, "GENE"),
                              {"48.825", "20.0", "10.0", "1.0", "0.1", "16.275", "10.0", "81.375", "10.0"});
    tarvic::WritePidDefaults(profile, tarvic::ModeSection(lettre, 4, "PID"), pid);
    tarvic::WriteGeneDefaults(profile, tarvic::ModeSection(lettre, 5, "GENE"),
                              {"200.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "20.0", "10.0"});
    tarvic::WritePidDefaults(profile, tarvic::ModeSection(lettre, 5, "PID"), pid);
}

bool CMotorise::LitCParam(int n, int& v) const
{
    if (const SUnite* unite = Unite(n)) {
        v = m_unites.*unite->champ;
        return true;
    }
    switch (n) {
    case 10: v = m_cdeMoteur; return true;
    case 11: v = m_cmmp; return true;
    case 12: v = m_cmmv; return true;
    case 55: v = m_unites.sr != 0 ? m_cdeMoteur : 0; return true;
    case 1000: v = 9; return true;
    default: return false;
    }
}

bool CMotorise::SetCParam(int n, char ch)
{
    // The character is a signed byte whatever the platform's char is.
    const int valeur = static_cast<signed char>(ch);
    if (const SUnite* unite = Unite(n)) {
        // Taken and kept, but reported as not set: callers rely on it.
        m_unites.*unite->champ = valeur;
        EcritEntier(unite->entry, valeur);
        return false;
    }
    switch (n) {
    case 9: return valeur == 1;
    case 10:
        m_cdeMoteur = valeur;
        EcritEntier("CDE_MOTEUR", m_cdeMoteur);
        return true;
    case 11:
        m_cmmp = static_cast<std::uint16_t>(valeur);
        EcritEntier("CMMP", m_cmmp);
        return true;
    case 12:
        m_cmmv = static_cast<std::uint16_t>(valeur);
        EcritEntier("CMMV", m_cmmv);
        return true;
    default: return false;
    }
}

bool CMotorise::LitFParam(int n, float& v) const
{
    switch (n) {
    case 100: v = FacteurPosition(); return true;
    case 101: v = FacteurVitesse(); return true;
    case 1003: v = m_periode; return true;
    case 1004: v = static_cast<float>(m_unites.codeur); return true;
    default: break;
    }
    if (m_banc.axeLineaire || n < 102 || n > 106) return false;
    v = FacteurRotatif(n, v);
    return n != 106;  // the command's full scale is given but reported as not read
}

bool CMotorise::SetFParam(int n, float v)
{
    switch (n) {
    case 1003:
        m_periode = v;
        EcritEntier("TEV", tarvic::TruncateToInt(v));
        return false;
    case 1004:
        m_unites.codeur = tarvic::TruncateToInt(v);
        EcritEntier("CODEUR", m_unites.codeur);
        return false;
    default: return false;
    }
}

float CMotorise::LitSonde(int n) const
{
    switch (n) {
    case 0: return m_mesures.vitesse;
    case 1: return m_mesures.position;
    case 2: return m_mesures.m2;
    case 3: return m_mesures.m3;
    case 4: return PositionUtilisateur();
    case 5: return VitesseUtilisateur();
    case 6: return AccelerationUtilisateur() / 10.0f;
    default: return 0.0f;
    }
}

std::string CMotorise::DmdMesure(int n) const { return n == 0 ? "ASP" : ""; }

std::string CMotorise::ConfFerz(int n) const
{
    switch (n) {
    case 10: return tarvic::Format("DTCM%c", static_cast<char>(m_cdeMoteur));
    case 1000: return std::string(1, m_banc.lettre);
    case 1004: return std::string(1, static_cast<char>(m_cdeMoteur));
    case 1006: return "0";
    case 1009: return tarvic::Hex4(tarvic::TruncateToInt(m_periode));
    default: return {};
    }
}

bool CMotorise::TraitRecept(std::string_view reply)
{
    std::int32_t value = 0;
    if (const int at = tarvic::Find(reply, "ASP"); at >= 0) {
        LitAsp(reply, at + 3);
        return true;
    }
    if (const int at = tarvic::Find(reply, "AVPI"); at >= 0) {
        if (tarvic::ReadField32(reply, at + 4, value)) m_mesures.position = static_cast<float>(value);
        return true;
    }
    if (const int at = tarvic::Find(reply, "AVPS"); at >= 0) {
        if (tarvic::ReadField16(reply, at + 4, value)) m_mesures.position = static_cast<float>(value);
        return true;
    }
    return false;
}

std::string CMotorise::DescriptionCommande(int layout) const
{
    const bool tension = m_cdeMoteur == 'T';
    if (layout != 0) return tension ? " Cde en tension\n" : " Cde en courant\n";
    return tension ? ", Commande en tension" : ", Commande en courant";
}

std::string CMotorise::CommandeCmmp() const { return "DCMMP" + tarvic::Hex2(m_cmmp); }

std::string CMotorise::CommandeCmmv() const { return "DCMMV" + tarvic::Hex2(m_cmmv); }

float CMotorise::FacteurPosition() const
{
    const float n = Codeur();
    switch (m_unites.position) {
    case 1: return 360.0f / n;
    case 2: return 1.0f / n;
    case 3: return 6.2832f / n;
    case 4:
        if (m_banc.axeLineaire) return 50.26548f / n / 33.2f;
        break;
    default: break;
    }
    return 1.0f;
}

float CMotorise::FacteurVitesse() const
{
    const float quatreNT = 4.0f * Codeur() * Periode();
    switch (m_unites.vitesse) {
    case 1: return 60000.0f / quatreNT;
    case 2: return 6283.18f / quatreNT;
    case 3: return 1000.0f / quatreNT;
    case 4:
        if (m_banc.axeLineaire) return 50265.48f / (4.0f * Codeur() * 33.2f * Periode());
        break;
    default: break;
    }
    return 1.0f;
}

float CMotorise::FacteurRotatif(int n, float sortie) const
{
    const float codeur = Codeur();
    const int acceleration = m_unites.acceleration;
    switch (n) {
    case 102:
        if (acceleration == 0) return 1.0f;
        if (acceleration == 1) return K();
        if (acceleration == 2) return K() * 6.283f;
        return sortie;
    case 103:
        switch (m_unites.vitesse) {
        case 0: return 1.0f;
        case 1: return 60.0f / codeur;
        case 2: return 6.28318f / codeur;
        case 3: return 1.0f / codeur;
        default: return 60.0f;
        }
    case 104:
        if (acceleration == 0) return 1.0f;
        if (acceleration == 1) return 0.1f;
        if (acceleration == 2) return 0.628318f;
        return sortie;
    case 105:
        if (acceleration == 0) return 1.0f;
        if (acceleration == 1) return 1.0f / codeur;
        if (acceleration == 2) return 6.28318f / codeur;
        return sortie;
    default:  // 106
        if (m_cdeMoteur == 'T') return 24.0f / 1024.0f;
        if (m_cdeMoteur == 'C') return m_banc.courantPleineEchelle / 1024.0f;
        return 1.0f;
    }
}

float CMotorise::PositionUtilisateur() const
{
    const float p = m_mesures.position;
    const float n = Codeur();
    switch (m_unites.position) {
    case 1: return p * 360.0f / n;
    case 2: return p / n;
    case 3: return p * 6.2832f / n;
    case 4:
        if (m_banc.axeLineaire) return p / n / 33.2f * 50.26548f;
        break;
    default: break;
    }
    return p;
}

float CMotorise::VitesseUtilisateur() const
{
    const float s = m_mesures.vitesse;
    const float quatreNT = 4.0f * Codeur() * Periode();
    switch (m_unites.vitesse) {
    case 1: return s * 60000.0f / quatreNT;
    case 2: return s * 6283.18f / quatreNT;
    case 3: return s * 1000.0f / quatreNT;
    case 4:
        if (m_banc.axeLineaire) return s * 1000.0f * 50.26548f / (4.0f * Codeur() * 33.2f * Periode());
        break;
    default: break;
    }
    return s;
}

float CMotorise::AccelerationUtilisateur() const
{
    const float a = m_mesures.acceleration;
    switch (m_unites.acceleration) {
    case 1: return a / K();
    case 2: return a * 6.283f / K();
    case 3:
        if (m_banc.axeLineaire) return a * 50.26548f / (K() * 33.2f);
        break;
    default: break;
    }
    return a;
}

float CMotorise::Periode() const { return m_periode * kTick; }

float CMotorise::Codeur() const { return static_cast<float>(m_unites.codeur); }

float CMotorise::K() const
{
    const float secondes = Periode() / 1000.0f;
    return Codeur() * secondes * secondes * 4.0f;
}

void CMotorise::LitAsp(std::string_view reply, int debut)
{
    // The first field is not used by any bench; a field missing from a short
    // reply keeps its previous value.
    std::int32_t value = 0;
    if (tarvic::ReadField12(reply, debut + 4, value)) m_mesures.m2 = static_cast<float>(value) / m_banc.diviseurM2;
    if (tarvic::ReadField12(reply, debut + 8, value)) m_mesures.m3 = static_cast<float>(value) / 85.29f;
    int suite = debut + 12;
    if (m_banc.champ4) {
        if (m_m4 && tarvic::ReadField12(reply, suite, value)) *m_m4 = static_cast<float>(value) / m_banc.diviseurM2;
        suite += 4;
    }
    if (tarvic::ReadField32(reply, suite, value)) m_mesures.position = static_cast<float>(value);
    if (tarvic::ReadField16(reply, suite + 8, value)) m_mesures.vitesse = static_cast<float>(value);
    if (tarvic::ReadField16(reply, suite + 12, value)) m_mesures.acceleration = static_cast<float>(value);
}

void CMotorise::EcritEntier(const char* entry, int value) const
{
    tarvic::GetProfile()->WriteProfileInt(m_section, entry, value);
}
