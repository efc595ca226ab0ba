#include "tarvic/elements/AxeNum.h"

#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/FactoryDefaults.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CAxeNum, CEidElement, 0)

namespace {

// No fourth "ASP" field, and no current factor: the axis has no parameter 106.
const SBancMoteur kAxe{'X', true, 1.024f, false, 0.0f};

constexpr std::int32_t kBitPom = 0x100;
constexpr std::int32_t kBitMvtPr = 0x200;
constexpr std::int32_t kBitMvtCible = 0x400;

}  // namespace

const CAxeNum::SPosition CAxeNum::kPositions[4] = {
    {&CAxeNum::m_posLg, "POS_LG", "0.0"},
    {&CAxeNum::m_posLd, "POS_LD", "1000.0"},
    {&CAxeNum::m_posRepos, "POS_REPOS", "0.0"},
    {&CAxeNum::m_posCible, "POS_CIBLE", "50.0"},
};

const CAxeNum::SPosition* CAxeNum::Position(int n)
{
    constexpr int premier = 1005;
    return n >= premier && n < premier + 4 ? &kPositions[n - premier] : nullptr;
}

CAxeNum::CAxeNum()
{
    m_grp = "AXNUM";
    const auto profile = Profil();
    m_cdeMoteur = profile->GetProfileInt(m_grp, "CDE_MOTEUR", 'C');
    CMotorise moteur = Moteur();
    moteur.LitReglagesCarte(500);
    moteur.LitUnites({.acceleration = 3, .vitesse = 4, .position = 4, .sr = 0});
    m_duree = profile->GetProfileInt(m_grp, "DUREE_ESSAI", 120);
    for (const SPosition& position : kPositions)
        this->*position.champ = LitProfilFloat(m_grp, position.entry, position.defaut);
}

CAxeNum::CAxeNum(const CAxeNum* other)
    : CEidElement(other), m_posRepos(other->m_posRepos), m_posLd(other->m_posLd), m_posLg(other->m_posLg),
      m_cdeMoteur(other->m_cdeMoteur), m_periode(other->m_periode), m_cmmp(other->m_cmmp), m_cmmv(other->m_cmmv),
      m_duree(other->m_duree), m_posCible(other->m_posCible), m_unites(other->m_unites)
{
}

void CAxeNum::Serialize(CArchive& ar)
{
    tarvic::SerializeFields(ar, m_periode, m_cdeMoteur, m_unites.codeur, m_cmmp, m_cmmv, m_unites.position,
                            m_unites.vitesse, m_unites.acceleration, m_posRepos, m_posCible);
}

void CAxeNum::InitValeur()
{
    const auto profile = Profil();
    tarvic::WritePeriodDefaults(*profile, 10, 10);
    const CMotorise moteur = Moteur();
    moteur.EcritDefautsCarte(*profile, 500);
    moteur.EcritDefautsUnites(*profile);
    profile->WriteProfileInt(m_grp, "CDE_MOTEUR", 'C');
    profile->WriteProfileInt(m_grp, "CMMP", 0);
    profile->WriteProfileInt(m_grp, "CMMV", 0);
    profile->WriteProfileInt(m_grp, "DUREE_ESSAI", 120);
    for (const SPosition& position : kPositions) profile->WriteProfileString(m_grp, position.entry, position.defaut);
    CMotorise::EcritDefautsModes(*profile, kAxe.lettre);
}

std::string CAxeNum::LitConfiguration(int layout) { return Moteur().DescriptionCommande(layout); }

bool CAxeNum::LitCParam(int n, int& v) { return Moteur().LitCParam(n, v); }

float CAxeNum::LitSonde(int n) { return Moteur().LitSonde(n); }

bool CAxeNum::TraitRecept(std::string reply)
{
    if (Moteur().TraitRecept(reply)) return true;
    if (const int at = tarvic::Find(reply, "XPOM"); at >= 0) {
        Acquitte(reply, at, m_pomDemandee, m_pomOccupeVu, PomDemandee, PomFinie);
        return true;
    }
    if (const int at = tarvic::Find(reply, "XEFC"); at >= 0) {
        m_efcDemandee = false;
        std::int32_t etat = 0;
        // Without a status word there is nothing to follow the moves by.
        if (!tarvic::ReadField16(reply, at + 4, etat)) return true;
        m_etatFc = etat & 0xFFFF;
        Suit((m_etatFc & kBitPom) != 0, m_pomOccupeVu, PomDemandee, PomFinie);
        Suit((m_etatFc & kBitMvtPr) != 0, m_prxOccupeVu, PrxDemandee, PrxFinie);
        return true;
    }
    if (const int at = tarvic::Find(reply, "XPRX"); at >= 0) {
        Acquitte(reply, at, m_prxDemandee, m_prxOccupeVu, PrxDemandee, PrxFinie);
        return true;
    }
    return false;
}

std::string CAxeNum::DmdMesure(int n)
{
    switch (n) {
    case 10: return Demande("XPOM", m_pomDemandee, m_pomOccupeVu, PomDemandee);
    case 11:
        if (m_efcDemandee) return {};
        m_efcDemandee = true;
        return "XEFC";
    case 12: return Demande("XPRX", m_prxDemandee, m_prxOccupeVu, PrxDemandee);
    default: return Moteur().DmdMesure(n);
    }
}

bool CAxeNum::LitFParam(int n, float& v)
{
    const SPosition* position = Position(n);
    if (!position) return Moteur().LitFParam(n, v);
    v = this->*position->champ;
    return position->champ == &CAxeNum::m_posCible;  // the others are given but reported as not read
}

bool CAxeNum::SetFParam(int n, float v)
{
    const SPosition* position = Position(n);
    if (!position) return Moteur().SetFParam(n, v);
    this->*position->champ = v;
    EcritProfilFloat(m_grp, position->entry, "%.0f", v);
    return position->champ == &CAxeNum::m_posCible;
}

bool CAxeNum::SetCParam(int n, char ch) { return Moteur().SetCParam(n, ch); }

std::string CAxeNum::ConfFerz(int n)
{
    switch (n) {
    case 0: return {};
    case 1:
    case 11: return Moteur().CommandeCmmp();
    case 2:
    case 12: return Moteur().CommandeCmmv();
    case 3:
    case 1008: return "XPCV" + EnComptes(m_posCible);
    case 1005: return "T";
    case 1010: return "XPRX" + EnComptes(m_posLg) + EnComptes(m_posRepos) + EnComptes(m_posLd);
    case 1011: return "XRCG";
    default: return Moteur().ConfFerz(n);
    }
}

int CAxeNum::NbParam() { return 4; }

bool CAxeNum::LitPom() const { return (m_etatFc & kBitPom) != 0; }

bool CAxeNum::LitMvtPr() const { return (m_etatFc & kBitMvtPr) != 0; }

bool CAxeNum::LitMvtCible() const { return (m_etatFc & kBitMvtCible) != 0; }

int CAxeNum::LitEtatFc() const { return m_etatFc; }

int CAxeNum::LitEtatAxnum() const { return m_etatAxnum; }

void CAxeNum::SetEtatAxnum(int etat) { m_etatAxnum = etat; }

int CAxeNum::LitDuree() const { return m_duree; }

void CAxeNum::SetDuree(int duree)
{
    m_duree = duree;
    Profil()->WriteProfileInt(m_grp, "DUREE_ESSAI", duree);
}

CMotorise CAxeNum::Moteur()
{
    return CMotorise(kAxe, m_grp, m_cdeMoteur, m_periode, m_mesures, m_cmmp, m_cmmv, m_unites);
}

std::string CAxeNum::EnComptes(float position)
{
    // Through the virtual parameter, so that a derived axis may scale otherwise.
    float facteur = 1.0f;
    LitFParam(100, facteur);
    return tarvic::Hex8(tarvic::TruncateToInt(position / facteur));
}

std::string CAxeNum::Demande(const char* commande, bool& demande, bool& occupeVu, int etatDemande)
{
    if (demande) return {};
    demande = true;
    occupeVu = false;
    m_etatAxnum = etatDemande;
    return commande;
}

void CAxeNum::Acquitte(const std::string& reply, int at, bool& demande, bool& occupeVu, int etatDemande, int etatFin)
{
    demande = false;
    if (tarvic::Find(reply, "O", at + 4) >= 0) {
        occupeVu = true;
        return;
    }
    occupeVu = false;
    // A late reply does not end another operation than the one requested.
    if (m_etatAxnum == etatDemande) m_etatAxnum = etatFin;
}

void CAxeNum::Suit(bool enCours, bool& occupeVu, int etatDemande, int etatFin)
{
    if (m_etatAxnum != etatDemande) return;
    if (enCours) {
        occupeVu = true;
    } else if (occupeVu) {
        occupeVu = false;
        m_etatAxnum = etatFin;
    } else {
        occupeVu = true;
    }
}
