#include "tarvic/control/BoFonction.h"

#include "tarvic/control/Boucle.h"
#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CBoFonction, CEidElement, 0)

CBoFonction::CBoFonction() : CBoFonction(std::string("BO")) {}

CBoFonction::CBoFonction(std::string name)
{
    m_grp = std::move(name);
    TE = tarvic::boucle::LitTE();
}

CBoFonction::CBoFonction(const CBoFonction* other)
    : CEidElement(other), Actions(other->Actions), SourceCommande(other->SourceCommande), TypeSortie(other->TypeSortie),
      TE(other->TE), ValeurCommande(other->ValeurCommande)
{
    for (int i = 0; i < 4; ++i) ValeursVS[i] = other->ValeursVS[i];
}

void CBoFonction::Serialize(CArchive& ar) { tarvic::SerializeFields(ar, SourceCommande, Actions, TE); }

int CBoFonction::ProcessCourant() { return Profil()->GetProfileInt("TYPE", "PO", 'D'); }

std::string CBoFonction::LitConfiguration(int layout)
{
    const bool enLigne = layout == 0;
    std::string text = enLigne ? "\\gProcessus:\\n" : "\\gProcessus:\\n\n ";
    const char* commande = SourceCommande == 'I'   ? "Ouvert"
                           : SourceCommande == 'T' ? "Commande Temp\xE9rature"
                           : SourceCommande == 'D' ? "Commande D\xE9" "bit"
                                                   : nullptr;
    if (commande) {
        text += commande;
        if (!enLigne) text += "\n";
    }
    return text;
}

bool CBoFonction::LitCParam(int, int&) { return false; }

float CBoFonction::LitSonde(int n)
{
    if (n != 0) return 0.0f;
    if (TypeSortie == 0 || !TestSynum()) return ValeurCommande;
    return static_cast<float>(double{ValeurCommande} / 1024 * (TypeSortie == 'T' ? 24 : 500));
}

bool CBoFonction::TraitRecept(std::string reply)
{
    if (tarvic::boucle::TraitAVS(reply, TestSynum(), false, 1.0f, 1.0f, ValeursVS)) return true;
    const int at = tarvic::Find(reply, "ACO");
    if (at < 0) return false;
    std::int32_t raw = 0;
    if (tarvic::ReadField16(reply, at + 3, raw))
        ValeurCommande = TestSynum() ? static_cast<float>(raw) : static_cast<float>(raw * 100.0 / m_fsSortie);
    // The command value is taken over, but the reply is not one the caller waits for.
    return false;
}

std::string CBoFonction::DmdMesure(int n) { return n == 0 ? "ACO" : std::string(); }

bool CBoFonction::LitFParam(int n, float& v)
{
    if (n != 1000) return false;
    v = TE;
    return true;
}

bool CBoFonction::SetFParam(int n, float v)
{
    if (n == 1000) TE = v;
    return false;
}

bool CBoFonction::SetCParam(int n, char ch)
{
    switch (n) {
    case 1: Actions = ch == 1 ? 0x80 : 0; return true;
    case 6: SourceCommande = tarvic::boucle::ChoixCommande(ch, ProcessCourant(), "ISX", SourceCommande); return true;
    case 55: TypeSortie = ch; return false;
    default: return false;
    }
}

std::string CBoFonction::ConfFerz(int n)
{
    switch (n) {
    case 0:
    case 100: return tarvic::boucle::CmdType(0, Actions);
    case 6: return tarvic::Format("DCP%cO%cI", static_cast<char>(ProcessCourant()), SourceCommande);
    case 1001: return tarvic::Format("O%cI", SourceCommande);
    case 1002: return "000";
    case 1008: return tarvic::boucle::FragmentPeriode(TE);
    default: return {};
    }
}

int CBoFonction::NbParam() { return 1; }
