#include "tarvic/elements/NiveauEau1.h"

#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/FactoryDefaults.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CNiveauEau, CEidElement, 0)

CNiveauEau::CNiveauEau()
{
    m_grp = "NIVEAUEAU";
    const auto profile = Profil();
    m_mesureDebit = profile->GetProfileInt(m_grp, "MESUREDEBIT", 0);
    m_mesureNiv1 = profile->GetProfileInt(m_grp, "MESURENIV1", 1);
    m_mesureNiv2 = profile->GetProfileInt(m_grp, "MESURENIV2", 2);
    m_cDebit = profile->GetProfileInt(m_grp, "CDEBIT", 0);
}

CNiveauEau::CNiveauEau(const CNiveauEau* other)
    : CEidElement(other), m_cDebit(other->m_cDebit), m_mesureNiv1(other->m_mesureNiv1),
      m_mesureNiv2(other->m_mesureNiv2), m_mesureDebit(other->m_mesureDebit), m_ciPompe(other->m_ciPompe),
      m_affichage(other->m_affichage)
{
}

CNiveauEau::~CNiveauEau() = default;

void CNiveauEau::Serialize(CArchive& ar)
{
    tarvic::SerializeFields(ar, m_ciPompe, m_affichage, m_cDebit, m_mesureDebit, m_mesureNiv1, m_mesureNiv2);
}

void CNiveauEau::InitValeur()
{
    const auto profile = Profil();
    tarvic::WritePeriodDefaults(*profile, 500, 500);
    profile->WriteProfileInt(m_grp, "MESUREDEBIT", 0);
    profile->WriteProfileInt(m_grp, "MESURENIV1", 1);
    profile->WriteProfileInt(m_grp, "MESURENIV2", 2);
    profile->WriteProfileInt(m_grp, "CDEBIT", 0);
    CAnalogique::EcritDefautsModes(*profile, 'N', "8.000", "6.500");
}

std::string CNiveauEau::LitConfiguration(int layout)
{
    if (!(m_affichage & 1)) return {};
    const double pompe = m_ciPompe;
    if (layout != 0) return "\n\\gCde independantes:\\n\n" + tarvic::Format(" Pompe = %.2f %%", pompe);
    return "\n\\gCommande independantes:\\n " + tarvic::Format(" Pompe =  %.2f %%\n", pompe);
}

bool CNiveauEau::LitCParam(int n, int& v)
{
    if (n != 1000) return false;
    v = 9;
    return true;
}

float CNiveauEau::LitSonde(int n)
{
    float v = 0.0f;
    if (m_analog.LitSonde(n, v)) return v;
    if (n >= 5 && n <= 7) return m_analog.Pourcent420(n - 5);
    return 0.0f;
}

bool CNiveauEau::TraitRecept(std::string reply) { return m_analog.TraitRecept(reply, m_fsEntree); }

std::string CNiveauEau::DmdMesure(int n) { return CAnalogique::DmdMesure(n); }

bool CNiveauEau::LitFParam(int n, float& v)
{
    if (n != 1) return false;
    v = m_ciPompe;
    return true;
}

bool CNiveauEau::SetFParam(int n, float v)
{
    // The pump command lasts as long as the element: a new one starts at 0.
    if (n != 1) return false;
    m_ciPompe = v;
    return true;
}

bool CNiveauEau::SetCParam(int n, char ch)
{
    if (n == 250) m_affichage = static_cast<std::uint8_t>(ch);
    return false;
}

std::string CNiveauEau::ConfFerz(int n)
{
    switch (n) {
    case 0: return CAnalogique::ConfSortie(m_cDebit, 4);
    case 1: return CAnalogique::CommandeIndependante("CIDD", tarvic::PercentToByte(m_ciPompe));
    case 2:
    case 3:
    case 4: return CAnalogique::ConfEntree(n - 1);
    case 759: return CAnalogique::SelecteurVoie(m_mesureDebit);
    case 763: return CAnalogique::SelecteurVoie(m_mesureNiv1);
    case 764: return CAnalogique::SelecteurVoie(m_mesureNiv2);
    case 1000: return "N";
    case 1004: return CAnalogique::NumeroVoie(m_cDebit);
    case 1005: return CAnalogique::NumeroVoie(m_mesureDebit);
    case 1006: return CAnalogique::NumeroVoie(m_mesureNiv1);
    default: return {};
    }
}

int CNiveauEau::NbParam() { return 5; }
