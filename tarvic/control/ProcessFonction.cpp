#include "tarvic/control/ProcessFonction.h"

#include "tarvic/platform/Text.h"

CProcessFonction::CProcessFonction(std::string name) { m_grp = std::move(name); }

bool CProcessFonction::LitCParam(int, int&) { return false; }

bool CProcessFonction::TraitRecept(std::string reply)
{
    const int at = tarvic::Find(reply, "AEBC");
    if (at < 0) return false;
    const std::string voie = tarvic::Mid(reply, at + 4, 1);
    const int k = voie.empty() ? -1 : voie[0] - '0';
    float value = 0.0f;
    if (k >= 0 && k < 3 && tarvic::ScanFloat(tarvic::Mid(reply, at + 5, 4), value)) ValeursAEBC[k] = value;
    // The values are only kept: no caller waits for these replies.
    return false;
}

std::string CProcessFonction::DmdMesure(int n) { return n >= 0 && n < 3 ? tarvic::Format("AEBC%d", n) : std::string(); }

bool CProcessFonction::SetCParam(int, char) { return false; }

std::string CProcessFonction::ConfFerz(int) { return {}; }

int CProcessFonction::NbParam() { return 0; }
