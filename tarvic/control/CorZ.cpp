#include "tarvic/control/CorZ.h"

#include "tarvic/control/Boucle.h"
#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CCorZ, CEidElement, 0)

namespace {

constexpr int kTypeCorZ = 3;
constexpr const char* kBancsRoutes = "S";

// Signed Q10: 1.0 is 0400, -1.0 is FC00; 32 and more wrap.
std::string ChampCoefficient(float coef) { return tarvic::Hex4(tarvic::TruncateToInt(double{coef} * 1024)); }

}  // namespace

CCorZ::CCorZ()
{
    m_grp = "CorZ";
    TE = tarvic::boucle::LitTE();
    tarvic::boucle::EchellesDuBanc(m_process, EchelleSortie, EchelleValeurs);
    for (int i = 0; i < 4; ++i) coefC[i] = LitProfilFloat(LitGrp(), tarvic::Format("coefC%d", i), "1");
    for (int i = 0; i < 3; ++i) coefB[i] = LitProfilFloat(LitGrp(), tarvic::Format("coefB%d", i), "1");
}

CCorZ::CCorZ(const CCorZ* other)
    : CEidElement(other), TE(other->TE), SourceRetour(other->SourceRetour), SourceCommande(other->SourceCommande),
      Actions(other->Actions), coefC(other->coefC), coefB(other->coefB)
{
    tarvic::boucle::EchellesDuBanc(m_process, EchelleSortie, EchelleValeurs);
}

void CCorZ::Serialize(CArchive& ar)
{
    tarvic::SerializeFields(ar, SourceCommande, SourceRetour, Actions, TE, coefC, coefB);
}

char CCorZ::LitBRetour() { return SourceRetour; }

void CCorZ::LitMinMax(int n, float& min, float& max)
{
    const float limite = n == 1 ? 32.0f : 512.0f;
    min = -limite;
    max = limite;
}

std::string CCorZ::LitConfiguration(int layout)
{
    const bool enLigne = layout == 0;
    std::string text = "\\gCorrecteur: Z\\n ";
    // Only with a low action bit, which nothing sets on this corrector: its
    // description never says "Ouvert".
    if ((Actions & 0x07) != 0) text += "Ouvert ";
    if (!enLigne) text += "\n";
    for (int i = 0; i < 4; ++i)
        text += tarvic::Format(enLigne ? ", C\\i%d\\n = %.2f" : " C\\i%d\\n = %.2f\n", i, double{coefC[i]});
    for (int i = 0; i < 3; ++i)
        text += tarvic::Format(enLigne ? ", B\\i%d\\n = %.2f" : " B\\i%d\\n = %.2f\n", i + 1, double{coefB[i]});
    if (enLigne) text += "\n";
    static const tarvic::boucle::TextesProcessus multiLigne = {
        "\\gProcessus:\\n\n",      "Cde Temp\xE9rature\n",
        "Cde D\xE9" "bit\n",       "\\gProcessus:\\n\n Cde Isol\xE9" "e\\n\n",
        "Mesure temp\xE9rature\n", "Mesure du d\xE9" "bit\n",
        "mesure ouverte\n",
    };
    return text + tarvic::boucle::DescriptionProcessus(SourceCommande, SourceRetour,
                                                       enLigne ? tarvic::boucle::kProcessusEnLigne : multiLigne);
}

bool CCorZ::LitCParam(int, int&) { return false; }

float CCorZ::LitSonde(int n) { return n >= 0 && n < 4 ? ValeursVS[n] : 0.0f; }

bool CCorZ::TraitRecept(std::string reply)
{
    const bool direct = m_process == 'S';
    return tarvic::boucle::TraitAVS(reply, direct, !direct, EchelleValeurs, EchelleSortie, ValeursVS);
}

std::string CCorZ::DmdMesure(int n) { return n == 0 ? "AVS" : std::string(); }

float* CCorZ::Coefficient(int n, std::string& entree)
{
    if (n >= 17 && n <= 20) {
        entree = tarvic::Format("coefC%d", n - 17);
        return &coefC[n - 17];
    }
    if (n >= 21 && n <= 23) {
        entree = tarvic::Format("coefB%d", n - 21);
        return &coefB[n - 21];
    }
    return nullptr;
}

bool CCorZ::LitFParam(int n, float& v)
{
    std::string entree;
    if (const float* coef = Coefficient(n, entree)) {
        v = *coef;
        return true;
    }
    if (n != 1000) return false;
    v = TE;
    return true;
}

bool CCorZ::SetFParam(int n, float v)
{
    std::string entree;
    if (float* coef = Coefficient(n, entree)) {
        *coef = v;
        EcritProfilFloat(LitGrp(), entree, "%.3f", v);
        return true;
    }
    if (n == 1000) {
        TE = v;
        tarvic::boucle::EcritTE(TE);
    }
    return false;
}

bool CCorZ::SetCParam(int n, char ch)
{
    switch (n) {
    case 1: tarvic::boucle::MetBit(Actions, 0x80, ch); return true;
    case 6: SourceCommande = tarvic::boucle::ChoixCommande(ch, m_process, kBancsRoutes, SourceCommande); return true;
    case 7: SourceRetour = tarvic::boucle::ChoixRetour(ch, m_process, kBancsRoutes, SourceRetour); return true;
    default: return false;
    }
}

std::string CCorZ::ConfFerz(int n)
{
    using namespace tarvic::boucle;
    switch (n) {
    case 0:
    case 100: return CmdType(kTypeCorZ, Actions);
    case 1: return CmdPeriode(TE);
    case 2:
    case 23: {
        std::string line = "RZ";
        for (const float b : coefB) line += ChampCoefficient(b);
        for (const float c : coefC) line += ChampCoefficient(c);
        return line;
    }
    case 3:
    case 6:
    case 7:
    case 9: return CmdCablage(m_process, SourceCommande, SourceRetour);
    case 101: return CmdModeRD(ModeRD);
    case 1001: return FragmentCablage(SourceCommande, SourceRetour);
    case 1002: return FragmentActions(kTypeCorZ, Actions);
    case 1008: return FragmentPeriode(TE);
    default: return {};
    }
}

int CCorZ::NbParam() { return 3; }
