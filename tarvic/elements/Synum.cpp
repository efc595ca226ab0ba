#include "tarvic/elements/Synum.h"

#include <utility>

#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/FactoryDefaults.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CSynum, CEidElement, 0)

namespace {

// The fourth "ASP" field is not used here; under current command 1000 / 1024 per card unit.
const SBancMoteur kChargeElectrique{'S', false, 1.024f, true, 1000.0f};

}  // namespace

CSynum::CSynum()
{
    m_grp = "SYNUM";
    const auto profile = Profil();
    m_cdeMoteur = profile->GetProfileInt(m_grp, "CDE_MOTEUR", 'C');
    m_cdeCharge = profile->GetProfileInt(m_grp, "CDE_CHARGE", 'T');
    CMotorise moteur = Moteur();
    moteur.LitReglagesCarte(500);
    m_chargeE = LitProfilFloat(m_grp, "CHARGE_E", "0.0");
    moteur.LitUnites({.acceleration = 1, .vitesse = 1, .position = 1, .sr = 0});
}

CSynum::CSynum(const CSynum* other)
    : CEidElement(other), m_cdeMoteur(other->m_cdeMoteur), m_cdeCharge(other->m_cdeCharge), m_periode(other->m_periode),
      m_chargeE(other->m_chargeE), m_cmmp(other->m_cmmp), m_cmmv(other->m_cmmv), m_unites(other->m_unites)
{
}

void CSynum::Serialize(CArchive& ar)
{
    tarvic::SerializeFields(ar, m_periode, m_cdeMoteur, m_cdeCharge, m_chargeE, m_unites.codeur, m_cmmp, m_cmmv,
                            m_unites.position, m_unites.vitesse, m_unites.acceleration);
}

void CSynum::InitValeur()
{
    const auto profile = Profil();
    tarvic::WritePeriodDefaults(*profile, 10, 10);
    const CMotorise moteur = Moteur();
    moteur.EcritDefautsCarte(*profile, 500);
    profile->WriteProfileString(m_grp, "CHARGE_E", "100.0");
    moteur.EcritDefautsUnites(*profile);
    const std::pair<const char*, int> entiers[] = {{"CDE_MOTEUR", 'C'}, {"CDE_CHARGE", 'T'}, {"CMMP", 0}, {"CMMV", 0}};
    for (const auto& [entry, value] : entiers) profile->WriteProfileInt(m_grp, entry, value);

    using tarvic::ModeSection;
    static constexpr tarvic::PidDefaults pid{"1.0", "1.0", "0.100", "0.060", "8.0"};
    const char lettre = kChargeElectrique.lettre;
    tarvic::WriteGeneDefaults(*profile, ModeSection(lettre, 0, "GENE1"),
                              {"204.8", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"});
    tarvic::WriteGeneDefaults(*profile, ModeSection(lettre, 1, "GENE"),
                              {"100.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"});
    tarvic::WritePidDefaults(*profile, ModeSection(lettre, 1, "PID"), pid);
    tarvic::WriteGeneDefaults(*profile, ModeSection(lettre, 4, "GENE"),
                              {"244.125", "20.0", "10.0", "1.0", "0.1", "81.375", "10.0", "81.375", "10.0"});
    tarvic::WritePidDefaults(*profile, ModeSection(lettre, 4, "PID"), pid);
    tarvic::WriteGeneDefaults(*profile, ModeSection(lettre, 5, "GENE"),
                              {"500.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"});
    tarvic::WritePidDefaults(*profile, ModeSection(lettre, 5, "PID"), pid);
    tarvic::WriteGeneDefaults(*profile, ModeSection(lettre, 3, "GENE"),
                              {"100.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"});
    tarvic::WriteCorZDefaults(*profile, ModeSection(lettre, 3, "CorZ"));
}

std::string CSynum::LitConfiguration(int layout)
{
    std::string texte = Moteur().DescriptionCommande(layout);
    if (m_chargeE == 0.0f) return texte;
    const auto charge = static_cast<double>(m_chargeE);
    if (layout != 0) return texte + tarvic::Format(" Charge \xE9" "lectrique =\n  %.0f %%\n", charge);
    return texte + tarvic::Format(", Charge \xE9" "lectrique =%.0f %%", charge);
}

bool CSynum::LitCParam(int n, int& v) { return Moteur().LitCParam(n, v); }

float CSynum::LitSonde(int n) { return Moteur().LitSonde(n); }

bool CSynum::TraitRecept(std::string reply) { return Moteur().TraitRecept(reply); }

std::string CSynum::DmdMesure(int n) { return Moteur().DmdMesure(n); }

bool CSynum::LitFParam(int n, float& v)
{
    switch (n) {
    case 1: v = m_chargeE; return true;
    case 107: return Moteur().LitFParam(105, v);
    default: return Moteur().LitFParam(n, v);
    }
}

bool CSynum::SetFParam(int n, float v)
{
    if (n != 1) return Moteur().SetFParam(n, v);
    m_chargeE = v;
    EcritProfilFloat(m_grp, "CHARGE_E", "%.2f", v);
    return true;
}

bool CSynum::SetCParam(int n, char ch) { return Moteur().SetCParam(n, ch); }

std::string CSynum::ConfFerz(int n)
{
    switch (n) {
    case 0: return {};
    case 1: return "CTC+" + tarvic::Hex2(tarvic::PercentToByte(m_chargeE));
    case 2:
    case 11: return Moteur().CommandeCmmp();
    case 3:
    case 12: return Moteur().CommandeCmmv();
    case 4:
    case 9: return "RRZP";
    case 1005: return std::string(1, static_cast<char>(m_cdeCharge));
    default: return Moteur().ConfFerz(n);
    }
}

int CSynum::NbParam() { return 4; }

CMotorise CSynum::Moteur()
{
    return CMotorise(kChargeElectrique, m_grp, m_cdeMoteur, m_periode, m_mesures, m_cmmp, m_cmmv, m_unites);
}
