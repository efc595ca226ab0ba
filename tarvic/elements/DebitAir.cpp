#include "tarvic/elements/DebitAir.h"

#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/FactoryDefaults.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CDebitAir, CEidElement, 0)

namespace {

// The card's configuration code of a channel that no setting names, and the
// one a channel the card does not have reads as.
constexpr std::int32_t CodeUsine = 4;

// Channel numbers come from the profile and from archives: a code is kept only
// for a channel the card has.
template <std::size_t N>
std::int32_t* Code(std::array<std::int32_t, N>& codes, std::int32_t voie)
{
    return voie >= 0 && static_cast<std::size_t>(voie) < N ? &codes[static_cast<std::size_t>(voie)] : nullptr;
}

template <std::size_t N>
std::int32_t LitCode(std::array<std::int32_t, N>& codes, std::int32_t voie)
{
    const std::int32_t* code = Code(codes, voie);
    return code ? *code : CodeUsine;
}

template <std::size_t N>
void EcritCode(std::array<std::int32_t, N>& codes, std::int32_t voie, std::int32_t value)
{
    if (std::int32_t* code = Code(codes, voie)) *code = value;
}

}  // namespace

CDebitAir::CDebitAir()
{
    m_grp = "DEBITAIR";
    m_confEntree.fill(CodeUsine);
    m_confSortie.fill(CodeUsine);
    const auto profile = Profil();
    m_mesureTemp = profile->GetProfileInt(m_grp, "MESURETEMP", 1);
    EcritCode(m_confEntree, m_mesureTemp, profile->GetProfileInt(m_grp, "CONFMTEMP", 4));
    m_mesureDebit = profile->GetProfileInt(m_grp, "MESUREDEBIT", 0);
    EcritCode(m_confEntree, m_mesureDebit, profile->GetProfileInt(m_grp, "CONFMDEBIT", 4));
    m_cmdTemp = profile->GetProfileInt(m_grp, "CMDTEMP", 1);
    EcritCode(m_confSortie, m_cmdTemp, profile->GetProfileInt(m_grp, "CONFCTEMP", 4));
    m_cmdDebit = profile->GetProfileInt(m_grp, "CMDDEBIT", 0);
    EcritCode(m_confSortie, m_cmdDebit, profile->GetProfileInt(m_grp, "CONFCDEBIT", 4));
    m_ciDebit = LitProfilFloat(m_grp, "CI_DEBIT", "0.0");
    m_ciTemp = LitProfilFloat(m_grp, "CI_TEMP", "0.0");
}

CDebitAir::CDebitAir(const CDebitAir* other)
    : CEidElement(other), m_ciTemp(other->m_ciTemp), m_ciDebit(other->m_ciDebit), m_cmdDebit(other->m_cmdDebit),
      m_cmdTemp(other->m_cmdTemp), m_mesureDebit(other->m_mesureDebit), m_mesureTemp(other->m_mesureTemp),
      m_confEntree(other->m_confEntree), m_confSortie(other->m_confSortie), m_affichage(other->m_affichage)
{
}

CDebitAir::~CDebitAir() = default;

void CDebitAir::Serialize(CArchive& ar)
{
    // The codes are kept by channel: they follow the channels they belong to.
    std::int32_t codeMTemp = LitCode(m_confEntree, m_mesureTemp), codeMDebit = LitCode(m_confEntree, m_mesureDebit);
    std::int32_t codeCDebit = LitCode(m_confSortie, m_cmdDebit), codeCTemp = LitCode(m_confSortie, m_cmdTemp);
    if (!tarvic::SerializeFields(ar, m_ciTemp, m_ciDebit, m_affichage, m_cmdDebit, m_cmdTemp, m_mesureDebit,
                                 m_mesureTemp, codeMTemp, codeMDebit, codeCDebit, codeCTemp) ||
        ar.IsStoring())
        return;
    EcritCode(m_confEntree, m_mesureTemp, codeMTemp);
    EcritCode(m_confEntree, m_mesureDebit, codeMDebit);
    EcritCode(m_confSortie, m_cmdDebit, codeCDebit);
    EcritCode(m_confSortie, m_cmdTemp, codeCTemp);
}

void CDebitAir::InitValeur()
{
    const auto profile = Profil();
    tarvic::WritePeriodDefaults(*profile, 50, 50);
    profile->WriteProfileInt(m_grp, "MESURETEMP", 1);
    profile->WriteProfileInt(m_grp, "MESUREDEBIT", 0);
    profile->WriteProfileInt(m_grp, "CMDTEMP", 1);
    profile->WriteProfileInt(m_grp, "CMDDEBIT", 0);
    profile->WriteProfileString(m_grp, "CI_DEBIT", "0.0");
    profile->WriteProfileString(m_grp, "CI_TEMP", "0.0");
    CAnalogique::EcritDefautsModes(*profile, 'D', "0.500", "0.400");
}

std::string CDebitAir::LitConfiguration(int layout)
{
    const bool lignes = layout != 0;
    std::string texte = lignes ? "\\gCmd ind\xE9p.:\n" : "\n\\gCommande independantes:\\n ";
    if (m_affichage & 1)
        texte += tarvic::Format(lignes ? " D\xE9" "bit =%.2f %%\n" : " D\xE9" "bit =%.2f %%",
                                static_cast<double>(m_ciDebit));
    if (m_affichage & 2)
        texte +=
            tarvic::Format(lignes ? " Temp. =%.2f %%\n" : " Temp\xE9" "rature =%.2f %%", static_cast<double>(m_ciTemp));
    return texte;
}

bool CDebitAir::LitCParam(int n, int& v)
{
    if (n != 1000) return false;
    v = 9;
    return true;
}

float CDebitAir::LitSonde(int n)
{
    float v = 0.0f;
    if (m_analog.LitSonde(n, v)) return v;
    switch (n) {
    case 5: return m_mesDebit;
    case 6:
        // Indexed by the heating command's output number, not the temperature input.
        return m_analog.Pourcent420(m_cmdTemp);
    default: return 0.0f;
    }
}

bool CDebitAir::TraitRecept(std::string reply)
{
    if (m_analog.TraitRecept(reply, m_fsEntree)) return true;
    const int at = tarvic::Find(reply, "AMD");
    if (at < 0) return false;
    std::int32_t raw = 0;
    // One character after the 3-letter mnemonic is skipped.
    if (tarvic::ReadField16(reply, at + 4, raw)) m_mesDebit = static_cast<float>(raw) / (m_fsEntree - 819.0f) * 100.0f;
    return true;
}

std::string CDebitAir::DmdMesure(int n) { return n == 2 ? "AMD" : CAnalogique::DmdMesure(n); }

bool CDebitAir::LitFParam(int n, float& v)
{
    switch (n) {
    case 1: v = m_ciDebit; return true;
    case 2: v = m_ciTemp; return true;
    default: return false;
    }
}

bool CDebitAir::SetFParam(int n, float v)
{
    switch (n) {
    case 1:
        m_ciDebit = v;
        EcritProfilFloat(m_grp, "CI_DEBIT", "%.2f", v);
        return true;
    case 2:
        m_ciTemp = v;
        EcritProfilFloat(m_grp, "CI_TEMP", "%.2f", v);
        return true;
    default: return false;
    }
}

bool CDebitAir::SetCParam(int n, char ch)
{
    // The display mask only shapes the summary: kept in the element, not in the profile.
    if (n == 250) m_affichage = static_cast<std::uint8_t>(ch);
    return false;
}

std::string CDebitAir::ConfFerz(int n)
{
    switch (n) {
    case 0: return CAnalogique::ConfSortie(m_cmdDebit, LitCode(m_confSortie, m_cmdDebit));
    case 1: return CAnalogique::CommandeIndependante("CIDD", tarvic::PercentToByte420(m_ciDebit));
    case 2: return CAnalogique::CommandeIndependante("CIDT", tarvic::PercentToByte420(m_ciTemp));
    case 3: return CAnalogique::ConfSortie(m_cmdTemp, LitCode(m_confSortie, m_cmdTemp));
    case 4:
    case 5: return CAnalogique::ConfEntree(n - 3);
    case 758: return CAnalogique::SelecteurVoie(m_mesureTemp);
    case 759: return CAnalogique::SelecteurVoie(m_mesureDebit);
    case 1000: return "D";
    case 1004: return CAnalogique::NumeroVoie(m_cmdDebit);
    case 1005: return CAnalogique::NumeroVoie(m_mesureDebit);
    case 1006: return CAnalogique::NumeroVoie(m_mesureTemp);
    default: return {};
    }
}

int CDebitAir::NbParam() { return 6; }
