#include "tarvic/control/Tor.h"

#include "tarvic/control/Boucle.h"
#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CTor, CEidElement, 0)

namespace {

constexpr int kTypeTor = 2;
// Only the electrical load bench routes the on/off controller's command.
constexpr const char* kBancsRoutes = "S";

}  // namespace

CTor::CTor()
{
    m_grp = "TOR";
    RBN = LitProfilFloat(LitGrp(), "RBN", "-10");
    RBP = LitProfilFloat(LitGrp(), "RBP", "10");
    TE = tarvic::boucle::LitTE();
    tarvic::boucle::EchellesDuBanc(m_process, EchelleSortie, EchelleValeurs);
}

CTor::CTor(const CTor* other)
    : CEidElement(other), TE(other->TE), RBN(other->RBN), RBP(other->RBP), SourceRetour(other->SourceRetour),
      SourceCommande(other->SourceCommande), Actions(other->Actions)
{
    tarvic::boucle::EchellesDuBanc(m_process, EchelleSortie, EchelleValeurs);
}

void CTor::Serialize(CArchive& ar) { tarvic::SerializeFields(ar, SourceCommande, SourceRetour, Actions, TE, RBN, RBP); }

char CTor::LitBRetour() { return SourceRetour; }

void CTor::LitMinMax(int, float&, float&) {}

std::string CTor::LitConfiguration(int layout)
{
    const bool enLigne = layout == 0;
    std::string text = enLigne ? "\\gCorrecteur: TOR\\n " : "\\gCorrecteur: TOR\\n \n";
    if ((Actions & 0x07) == 0) text += enLigne ? " Ouvert" : " Ouvert\n";
    text +=
        tarvic::Format(enLigne ? ", RBN = %.3f, RBP = %.3f\n" : " RBN = %.3f\n RBP = %.3f\n", double{RBN}, double{RBP});
    static const tarvic::boucle::TextesProcessus multiLigne = {
        "\\gProcessus:\\n\n", " Cmde Temp\xE9rature\n",
        "Cmde D\xE9" "bit\n", "\\gProcessus:\\n\n Cde Isol\xE9" "e\\n\n",
        "Mesure temp\n",      "Mesure d\xE9" "bit\n",
        "mesure ouverte\n",
    };
    return text + tarvic::boucle::DescriptionProcessus(SourceCommande, SourceRetour,
                                                       enLigne ? tarvic::boucle::kProcessusEnLigne : multiLigne);
}

bool CTor::LitCParam(int, int&) { return false; }

float CTor::LitSonde(int n) { return n >= 0 && n < 4 ? ValeursVS[n] : 0.0f; }

bool CTor::TraitRecept(std::string reply)
{
    const bool direct = m_process == 'S';
    return tarvic::boucle::TraitAVS(reply, direct, !direct, EchelleValeurs, EchelleSortie, ValeursVS);
}

std::string CTor::DmdMesure(int n) { return n == 0 ? "AVS" : std::string(); }

bool CTor::LitFParam(int n, float& v)
{
    switch (n) {
    case 15: v = RBN; return true;
    case 16: v = RBP; return true;
    case 1000: v = TE; return true;
    default: return false;
    }
}

bool CTor::SetFParam(int n, float v)
{
    switch (n) {
    case 15:
        RBN = v;
        EcritProfilFloat(LitGrp(), "RBN", "%.2f", RBN);
        return true;
    case 16:
        RBP = v;
        EcritProfilFloat(LitGrp(), "RBP", "%.2f", RBP);
        return true;
    case 1000:
        TE = v;
        tarvic::boucle::EcritTE(TE);
        return false;
    default: return false;
    }
}

bool CTor::SetCParam(int n, char ch)
{
    switch (n) {
    case 1: tarvic::boucle::MetBit(Actions, 0x80, ch); return true;
    case 6: SourceCommande = tarvic::boucle::ChoixCommande(ch, m_process, kBancsRoutes, SourceCommande); return true;
    case 7: SourceRetour = tarvic::boucle::ChoixRetour(ch, m_process, kBancsRoutes, SourceRetour); return true;
    default: return false;
    }
}

std::string CTor::ChampSeuil(float seuil) const
{
    // The fraction goes first; the percent benches then scale in card units.
    std::int32_t t = tarvic::Signed16(static_cast<std::uint32_t>(tarvic::TruncateToInt(seuil)));
    if (m_process != 'S') {
        t = tarvic::TruncateToInt(static_cast<double>(t) * EchelleValeurs);
        t = t / 100;
    }
    return tarvic::Hex4(t);
}

std::string CTor::ConfFerz(int n)
{
    using namespace tarvic::boucle;
    switch (n) {
    case 0:
    case 100: return CmdType(kTypeTor, Actions);
    case 1: return CmdPeriode(TE);
    case 2:
    case 15: return "RBN" + ChampSeuil(RBN);
    case 3:
    case 16: return "RBP" + ChampSeuil(RBP);
    case 4:
    case 6:
    case 7: return CmdCablage(m_process, SourceCommande, SourceRetour);
    case 101: return CmdModeRD(ModeRD);
    case 1001: return FragmentCablage(SourceCommande, SourceRetour);
    case 1002: return FragmentActions(kTypeTor, Actions);
    case 1008: return FragmentPeriode(TE);
    default: return {};
    }
}

int CTor::NbParam() { return 4; }
