#include "tarvic/control/Pid.h"

#include <cmath>

#include "tarvic/control/Boucle.h"
#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CPid, CEidElement, 0)

namespace {

constexpr int kTypePid = 1;
// The PID knows the routing of every card-unit bench.
constexpr const char* kBancsRoutes = "ISX";

// Card units per user unit of K2 for a voltage or current output.
//
// Rounding: expressions are evaluated in double and rounded to float where
// they are stored (the pole, the derivative term, the parameters), as the
// coefficients were always computed by the x87 arithmetic of the original hosts.
double FacteurSortie(char typeSortie)
{
    if (typeSortie == 'T') return 0.04263;
    if (typeSortie == 'C') return 2.048;
    return 1.0;
}

bool Bit(std::uint8_t actions, std::uint8_t mask) { return (actions & mask) != 0; }

// Bits of `Actions` behind parameters and states 1 to 5.
constexpr std::uint8_t kBitsActions[] = {0x80, 0x01, 0x02, 0x04, 0x08};

}  // namespace

CPid::CPid()
{
    m_grp = "PID";
    const std::string section = LitGrp();
    KP = LitProfilFloat(section, "KP", "1.0");
    KS = LitProfilFloat(section, "KS", "1.0");
    TI = LitProfilFloat(section, "TI", "100.0");
    TD = LitProfilFloat(section, "TD", "50.0");
    KF = LitProfilFloat(section, "KF", "1.0");
    TE = tarvic::boucle::LitTE();
}

CPid::CPid(const CPid* other)
    : CEidElement(other), SourceRetour(other->SourceRetour), SourceCommande(other->SourceCommande),
      TypeSortie(other->TypeSortie), TE(other->TE), KS(other->KS), KF(other->KF), TD(other->TD), TI(other->TI),
      KP(other->KP), Actions(other->Actions), Unite(other->Unite), Echelle(other->Echelle)
{
}

void CPid::Serialize(CArchive& ar)
{
    if (!tarvic::SerializeFields(ar, SourceCommande, SourceRetour, Actions, TE, KP, KS, TI, TD, KF) || ar.IsStoring())
        return;
    ModeRD = false;
    RZI = false;
    Actions = static_cast<std::uint8_t>(Actions & ~0x80);
}

char CPid::LitBRetour() { return SourceRetour; }

bool CPid::LitEtat(int n, int& v)
{
    if (n >= 1 && n <= 5) {
        v = Bit(Actions, kBitsActions[n - 1]) ? 1 : 0;
        return true;
    }
    if (n == 6) {
        v = SourceCommande == 'I' ? 0 : SourceCommande == 'T' ? 2 : 1;
        return true;
    }
    if (n != 7) return false;
    const bool direct = TestSynum();
    switch (SourceRetour) {
    case 'I': v = 0; break;
    case 'V':
        if (direct) v = 1;
        break;
    case 'P': v = direct ? 2 : 1; break;
    case 'D':
        if (!direct) v = 1;
        break;
    case '1':
    case 'T':
        if (!direct) v = 2;
        break;
    case '2':
        if (!direct) v = 3;
        break;
    default: break;
    }
    return true;
}

void CPid::LitMinMax(int n, float& min, float& max)
{
    // The period is in ms, the times in s.
    const double periode = double{TE} / 1000;
    switch (n) {
    case 10:
        min = 0.001f;
        max = 64.0f;
        break;
    case 11:
        min = static_cast<float>(periode / 64);
        max = static_cast<float>(periode / 0.001);
        break;
    case 12:
        min = static_cast<float>(periode * 0.0001);
        max = static_cast<float>(64 * periode);
        break;
    case 13:
        min = 1.0f;
        max = 20.0f;
        break;
    case 14:
        min = static_cast<float>(0.004 / FacteurSortie(TypeSortie));
        max = static_cast<float>(256.0 / FacteurSortie(TypeSortie));
        break;
    default: break;
    }
}

std::string CPid::LitConfiguration(int layout)
{
    const bool enLigne = layout == 0;
    std::string text = enLigne ? "\\gCorrecteur:\\n PID" : "\\gCorrecteur:\\n PID\n";
    const bool ouvert = (Actions & 0x07) == 0;
    if (ouvert) text += enLigne ? " Ouvert" : "Ouvert\n";
    if (Bit(Actions, 0x01)) text += tarvic::Format(enLigne ? " K1= %.2f" : " K1 = %.2f\n", double{KP});
    if (Bit(Actions, 0x02)) text += tarvic::Format(enLigne ? ", Ti= %.2f s" : " Ti = %.2f s\n", double{TI});
    if (Bit(Actions, 0x04)) {
        text += enLigne ? tarvic::Format(", Td= %.2f s, \\f1a\\n= %.3f", double{TD}, double{KF})
                        : tarvic::Format(" Td = %.2f s\n \\f1a\\n = %.2f\n", double{TD}, double{KF});
        if (Bit(Actions, 0x08))
            text += enLigne ? ", Action d\xE9riv\xE9" "e sur mesure" : "d\xE9riv\xE9" "e sur mesure\n";
        else
            text += enLigne ? ", Action d\xE9riv\xE9" "e sur \xE9" "cart" : "d\xE9riv\xE9" "e sur \xE9" "cart\n";
    }
    if (!ouvert) {
        float valeur = static_cast<float>(double{KS} / Echelle);
        std::string unite = "inc";
        if (TypeSortie == 'T') {
            valeur = static_cast<float>(double{valeur} / 0.04263);
            unite = "mV";
        } else if (TypeSortie == 'C') {
            valeur = static_cast<float>(double{valeur} / 2.048);
            unite = "mA";
        }
        const std::string affichee = unite == Unite ? std::string() : unite + "/" + Unite;
        text += tarvic::Format(enLigne ? ", K2= %.3f %s\n" : " K2 = %.3f %s\n", double{valeur}, affichee.c_str());
    } else {
        text += "\n";
    }
    static const tarvic::boucle::TextesProcessus multiLigne = {
        "\\gProcessus:\\n \n",    "Commande Temp\xE9rature\n",
        "Commande D\xE9" "bit\n", "\\gProcessus:\\n\n Commande Isol\xE9" "e\\n\n",
        " Mesure de la temp.\n",  " Mesure du d\xE9" "bit\n",
        " Mesure ouverte\n",
    };
    return text + tarvic::boucle::DescriptionProcessus(SourceCommande, SourceRetour,
                                                       enLigne ? tarvic::boucle::kProcessusEnLigne : multiLigne);
}

bool CPid::LitCParam(int, int&) { return false; }

float CPid::LitSonde(int n)
{
    if (n >= 0 && n <= 2) return ValeursPid[n];
    if (n < 3 || n > 6) return 0.0f;
    float value = ValeursVS[n - 3];
    if (n == 6 && TypeSortie != 0 && TestSynum()) {
        const double tension = double{value} / 1024;
        if (TypeSortie == 'T') return static_cast<float>(tension * 24);
        if (TypeSortie == 'C') return static_cast<float>(tension * 500);
        return static_cast<float>(tension);
    }
    return value;
}

bool CPid::TraitRecept(std::string reply)
{
    const int at = tarvic::Find(reply, "APID");
    if (at >= 0) {
        for (int i = 0; i < 3; ++i) {
            std::int32_t raw = 0;
            if (!tarvic::ReadField16(reply, at + 4 + 4 * i, raw)) continue;
            const double value = raw;
            ValeursPid[i] = static_cast<float>(TestSynum() ? value : value / m_fsSortie * 100);
        }
        return true;
    }
    return tarvic::boucle::TraitAVS(reply, TestSynum(), !TestSynum(), m_fsSortie, m_fsSortie, ValeursVS);
}

std::string CPid::DmdMesure(int n)
{
    if (n == 0) return "APID";
    if (n == 1) return "AVS";
    return {};
}

bool CPid::LitFParam(int n, float& v)
{
    switch (n) {
    case 10: v = KP; return true;
    case 11: v = TI; return true;
    case 12: v = TD; return true;
    case 13: v = KF; return true;
    case 14: v = static_cast<float>(double{KS} / Echelle / FacteurSortie(TypeSortie)); return true;
    case 1000: v = TE; return true;
    default: return false;
    }
}

bool CPid::SetFParam(int n, float v)
{
    switch (n) {
    case 10:
        KP = v;
        EcritProfil("KP", KP);
        return true;
    case 11:
        TI = v;
        EcritProfil("TI", TI);
        return true;
    case 12:
        TD = v;
        EcritProfil("TD", TD);
        return true;
    case 13:
        KF = v;
        EcritProfil("KF", KF);
        return true;
    case 14:
        KS = static_cast<float>(double{v} * Echelle * FacteurSortie(TypeSortie));
        EcritProfil("KS", KS);
        return true;
    case 1000:
        TE = v;
        tarvic::boucle::EcritTE(TE);
        return false;
    default: return false;
    }
}

bool CPid::SetCParam(int n, char ch)
{
    switch (n) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: tarvic::boucle::MetBit(Actions, kBitsActions[n - 1], ch); return true;
    case 6: SourceCommande = tarvic::boucle::ChoixCommande(ch, m_process, kBancsRoutes, SourceCommande); return true;
    case 7: SourceRetour = tarvic::boucle::ChoixRetour(ch, m_process, kBancsRoutes, SourceRetour); return true;
    case 8: RZI = ch != 0; return true;
    case 13: SourceRetour = ch != 0 ? 'V' : 'I'; return true;
    case 14: SourceRetour = ch != 0 ? 'P' : 'I'; return true;
    case 55: TypeSortie = ch; return false;
    default: return false;
    }
}

std::string CPid::ConfFerz(int n)
{
    using namespace tarvic::boucle;
    switch (n) {
    case 0:
    case 100: return CmdType(kTypePid, Actions);
    case 1: return CmdPeriode(TE);
    case 2:
    case 10:
    case 14: return CmdGains();
    case 3:
    case 11: return CmdIntegrale();
    case 4:
    case 12: return CmdDerivee();
    case 5:
    case 13: return CmdFiltre();
    case 6:
    case 7: return CmdCablage(m_process, SourceCommande, SourceRetour);
    case 8: return tarvic::Format("RRZI%d", RZI ? 1 : 0);
    case 101: return CmdModeRD(ModeRD);
    case 1001: return FragmentCablage(SourceCommande, SourceRetour);
    case 1002: return FragmentActions(kTypePid, Actions);
    case 1008: return FragmentPeriode(TE);
    default: return {};
    }
}

int CPid::NbParam() { return 6; }

std::string CPid::CmdGains() const
{
    // The normaliser brings the output back to the card's full scale.
    float normaliseur = TestSynum() ? 1024.0f : 3276.0f;
    if (KS != 0.0f) normaliseur = static_cast<float>(double{normaliseur} / KS);
    return "RKP" + tarvic::Hex4(tarvic::TruncateToInt(double{KP} * 1024)) +
           tarvic::Hex4(tarvic::TruncateToInt(double{KS} * 256)) +
           tarvic::Hex8(tarvic::TruncateToInt(double{normaliseur} * 1024 * 20));
}

std::string CPid::CmdIntegrale() const
{
    // A zero TI gives an infinite coefficient, which truncates to the defined
    // out-of-range value rather than undefined behaviour.
    return "RKI" + tarvic::Hex4(tarvic::TruncateToInt(double{TE} / TI * 1024 / 1000));
}

float CPid::PoleFiltre() const { return static_cast<float>(std::exp(-double{KF} * TE / TD / 1000)); }

std::string CPid::CmdDerivee() const
{
    const float derivee = static_cast<float>(1000.0 * TD / TE * (1.0 - PoleFiltre()));
    return "RKD" + tarvic::Hex4(tarvic::TruncateToInt(1024.0 * derivee));
}

std::string CPid::CmdFiltre() const { return "RKF" + tarvic::Hex4(tarvic::TruncateToInt(1024.0 * PoleFiltre())); }

void CPid::EcritProfil(const char* entry, float value) const { EcritProfilFloat(LitGrp(), entry, "%.3f", value); }
