#include "RecordingSupport.h"

#include "tarvic/platform/Text.h"

namespace tarvic::test {

std::string DonneesBloc(const Valeurs& valeurs)
{
    std::string donnees;
    for (int point = 0; point < CBlocPoint::kPoints; ++point)
        for (int rang = 0; rang < CBlocPoint::kRangs; ++rang)
            donnees += Format("%4.4X", static_cast<unsigned>(valeurs[rang][point]));
    return donnees;
}

std::string LigneBloc(int bloc, const Valeurs& valeurs)
{
    return Format("!TSF%2.2X", static_cast<unsigned>(bloc)) + DonneesBloc(valeurs) + "  ";
}

Valeurs ValeursDistinctes()
{
    Valeurs valeurs{};
    for (int rang = 0; rang < CBlocPoint::kRangs; ++rang)
        for (int point = 0; point < CBlocPoint::kPoints; ++point)
            valeurs[rang][point] = static_cast<std::uint16_t>(rang * 0x100 + point);
    return valeurs;
}

Valeurs ValeursAvec(int rang, int point, std::uint16_t valeur)
{
    Valeurs valeurs{};
    valeurs[rang][point] = valeur;
    return valeurs;
}

void Acquiert(CEnregistrement& enregistrement, const std::vector<Valeurs>& blocs)
{
    enregistrement.SetStart(true);
    for (std::size_t bloc = 0; bloc < blocs.size(); ++bloc)
        enregistrement.TraitRecept(LigneBloc(static_cast<int>(bloc), blocs[bloc]));
}

ProfilBanc::ProfilBanc(char process)
{
    m_profil->WriteProfileInt("TYPE", "PO", process);
    SetProfile(m_profil);
}

ProfilBanc::~ProfilBanc() { SetProfile(nullptr); }

}  // namespace tarvic::test
