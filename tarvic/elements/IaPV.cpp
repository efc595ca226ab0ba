#include "tarvic/elements/IaPV.h"

#include <utility>

#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/FactoryDefaults.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CIaPV, CEidElement, 0)

namespace {

// The fourth "ASP" field is M4; under current command 500 / 1024 per card unit.
const SBancMoteur kMoteurCharge{'I', false, 2.048f, true, 500.0f};

// Summary items of the load-law terms, by bit of CNF_CC: multi-line and one-line forms.
struct STexteTerme {
    const char* multiLigne;
    const char* uneLigne;
};
constexpr STexteTerme kTextesTermes[] = {
    {" Cfs=%.2f mNm", ", Cfs=%.2f mNm"},
    {"\n Cc=%.2f mNm", ", Cc=%.2f mNm"},
    {"\n a=%.2f \xB5" "Nm/(tr/mn)", ", a=%.2f \xB5" "Nm/(tr/mn)"},
    {"\n b=%.2f nNm/(tr/mn)\xB2", ", b=%.2f nNm/(tr/mn)\xB2"},
};

// Card values of the law are 16-bit: the truncated value's low 16 bits.
std::int16_t ValeurCarte(float value) { return static_cast<std::int16_t>(tarvic::TruncateToInt(value)); }

}  // namespace

CIaPV::CIaPV()
{
    m_grp = "IAPV";
    const auto profile = Profil();
    m_cdeMoteur = profile->GetProfileInt(m_grp, "CDE_MOTEUR", 'C');
    m_cdeCharge = profile->GetProfileInt(m_grp, "CDE_CHARGE", 'T');
    CMotorise moteur = Moteur();
    moteur.LitReglagesCarte(100);
    moteur.LitUnites({.acceleration = 1, .vitesse = 1, .position = 1, .sr = 0});
    m_numU1 = static_cast<std::int8_t>(profile->GetProfileInt(m_grp, "NUM_U1", 0));
    m_numU2 = static_cast<std::int8_t>(profile->GetProfileInt(m_grp, "NUM_U2", 0));
    m_cnfCc = static_cast<std::int8_t>(profile->GetProfileInt(m_grp, "CNF_CC", 1));
    m_compFs = static_cast<std::int16_t>(profile->GetProfileInt(m_grp, "COMP_FS", 100));
    m_ce = static_cast<std::int16_t>(profile->GetProfileInt(m_grp, "CE", 0));
    m_cax = static_cast<std::int16_t>(profile->GetProfileInt(m_grp, "Cax", 0));
    m_caxx = static_cast<std::int16_t>(profile->GetProfileInt(m_grp, "Caxx", 0));
}

CIaPV::CIaPV(const CIaPV* other)
    : CEidElement(other), m_cdeMoteur(other->m_cdeMoteur), m_cdeCharge(other->m_cdeCharge), m_periode(other->m_periode),
      m_cmmp(other->m_cmmp), m_cmmv(other->m_cmmv), m_caxx(other->m_caxx), m_cax(other->m_cax), m_ce(other->m_ce),
      m_compFs(other->m_compFs), m_cnfCc(other->m_cnfCc), m_numU2(other->m_numU2), m_numU1(other->m_numU1),
      m_unites(other->m_unites)
{
}

void CIaPV::Serialize(CArchive& ar)
{
    tarvic::SerializeFields(ar, m_periode, m_cdeMoteur, m_cdeCharge, m_cnfCc, m_compFs, m_ce, m_cax, m_caxx, m_numU1,
                            m_numU2, m_unites.codeur, m_cmmp, m_cmmv, m_unites.position, m_unites.vitesse,
                            m_unites.acceleration);
}

void CIaPV::InitValeur()
{
    const auto profile = Profil();
    tarvic::WritePeriodDefaults(*profile, 10, 10);
    const CMotorise moteur = Moteur();
    moteur.EcritDefautsCarte(*profile, 100);
    moteur.EcritDefautsUnites(*profile);
    // "CDE_CHARGE" keeps what the user chose.
    const std::pair<const char*, int> entiers[] = {
        {"CDE_MOTEUR", 'C'}, {"CMMP", 0},         {"CMMV", 0}, {"NUM_U1", 0}, {"NUM_U2", 1},
        {"CNF_CC", 5},       {"COMP_FS", -10046}, {"CE", 0},   {"Cax", 380},  {"Caxx", 0},
    };
    for (const auto& [entry, value] : entiers) profile->WriteProfileInt(m_grp, entry, value);
    CMotorise::EcritDefautsModes(*profile, kMoteurCharge.lettre);
}

std::string CIaPV::LitConfiguration(int layout)
{
    std::string texte = Moteur().DescriptionCommande(layout);
    if (m_cnfCc == 0) return texte + (layout != 0 ? "Charge naturelle" : ", Charge naturelle");
    for (int bit = 0; bit < 4; ++bit) {
        if ((m_cnfCc & (1 << bit)) == 0) continue;
        float terme = 0.0f;
        LitFParam(110 + bit, terme);
        const STexteTerme& format = kTextesTermes[bit];
        texte += tarvic::Format(layout != 0 ? format.multiLigne : format.uneLigne, static_cast<double>(terme));
    }
    return texte;
}

bool CIaPV::LitCParam(int n, int& v)
{
    switch (n) {
    case 100: v = m_numU1; return true;
    case 101: v = m_numU2; return true;
    case 102: v = m_cnfCc; return true;
    default: return Moteur().LitCParam(n, v);
    }
}

float CIaPV::LitSonde(int n) { return n == 7 ? m_m4 : Moteur().LitSonde(n); }

bool CIaPV::TraitRecept(std::string reply)
{
    // The "AME" value means nothing to the element: the reply is only taken.
    return Moteur().TraitRecept(reply) || tarvic::Find(reply, "AME") >= 0;
}

std::string CIaPV::DmdMesure(int n) { return n == 11 ? "AME" : Moteur().DmdMesure(n); }

bool CIaPV::LitFParam(int n, float& v)
{
    if (n < 110 || n > 113) return Moteur().LitFParam(n, v);
    // The law is given in physical units but reported as not read.
    v = LitTermeCharge(n);
    return false;
}

bool CIaPV::SetFParam(int n, float v)
{
    if (n < 110 || n > 113) return Moteur().SetFParam(n, v);
    SetTermeCharge(n, v);
    return false;
}

bool CIaPV::SetCParam(int n, char ch)
{
    const auto octet = static_cast<std::int8_t>(ch);
    switch (n) {
    case 100:
        m_numU1 = octet;
        Profil()->WriteProfileInt(m_grp, "NUM_U1", m_numU1);
        return true;
    case 101:
        m_numU2 = octet;
        Profil()->WriteProfileInt(m_grp, "NUM_U2", m_numU2);
        return true;
    case 102:  // taken and kept, but reported as not set
        m_cnfCc = octet;
        Profil()->WriteProfileInt(m_grp, "CNF_CC", m_cnfCc);
        return false;
    default: return Moteur().SetCParam(n, ch);
    }
}

std::string CIaPV::ConfFerz(int n)
{
    using tarvic::Hex2;
    using tarvic::Hex4;
    switch (n) {
    case 0: return {};
    case 1:
    case 501: return "ISA" + Hex2(m_numU1) + Hex2(m_cmmp) + Hex2(m_numU2) + Hex2(m_cmmv);
    case 2:
    case 500: return "ICC" + Hex2(m_cnfCc) + Hex4(m_compFs) + Hex4(m_ce) + Hex4(m_cax) + Hex4(m_caxx);
    case 3:
    case 9: return "RRZP";
    case 1005: return std::string(1, static_cast<char>(m_cdeCharge));
    default: return Moteur().ConfFerz(n);
    }
}

int CIaPV::NbParam() { return 4; }

CMotorise CIaPV::Moteur()
{
    return CMotorise(kMoteurCharge, m_grp, m_cdeMoteur, m_periode, m_mesures, m_cmmp, m_cmmv, m_unites, &m_m4);
}

float CIaPV::LitTermeCharge(int n)
{
    const float t = Moteur().Periode();
    switch (n) {
    case 110: return m_compFs / 48.3f / 32.0f;
    case 111: return m_ce / 48.3f / 32.0f;
    case 112: return m_cax / 7244.5f * t / 256.0f * 1000.0f;
    default: return m_caxx / 1086750.0f * t * t / 4096.0f * 1000000.0f;
    }
}

void CIaPV::SetTermeCharge(int n, float v)
{
    const float t = Moteur().Periode();
    const auto profile = Profil();
    switch (n) {
    case 110:
        m_compFs = ValeurCarte(v * 32.0f * 48.3f);
        profile->WriteProfileInt(m_grp, "COMP_FS", m_compFs);
        break;
    case 111:
        m_ce = ValeurCarte(v * 32.0f * 48.3f);
        profile->WriteProfileInt(m_grp, "CE", m_ce);
        break;
    case 112:
        m_cax = ValeurCarte(v * 256.0f / 1000.0f * 7244.5f / t);
        profile->WriteProfileInt(m_grp, "Cax", m_cax);
        break;
    default:
        m_caxx = ValeurCarte(v * 4096.0f / 1000000.0f * 1086750.0f / t / t);
        profile->WriteProfileInt(m_grp, "Caxx", m_caxx);
        break;
    }
}
