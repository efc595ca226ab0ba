#include "tarvic/elements/Analogique.h"

#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/FactoryDefaults.h"
#include "tarvic/platform/Text.h"

namespace {

// Channel numbers come from the profile and archives: wrap like the card's
// 32-bit arithmetic instead of overflowing.
int Numero(int voie) { return static_cast<int>(static_cast<unsigned>(voie) + 1u); }

// Both replies put their data 4 characters after the start of the mnemonic.
constexpr int DebutDonnees = 4;

}  // namespace

std::string CAnalogique::DmdMesure(int n)
{
    switch (n) {
    case 0: return "AEBC";
    case 1: return "ASBC";
    default: return {};
    }
}

bool CAnalogique::TraitRecept(std::string_view reply, float fsEntree)
{
    std::int32_t raw = 0;
    if (const int at = tarvic::Find(reply, "AEBC"); at >= 0) {
        for (int i = 0; i < NbEntrees; ++i)
            if (tarvic::ReadField16(reply, at + DebutDonnees + 4 * i, raw))
                m_entree[static_cast<std::size_t>(i)] = static_cast<float>(raw) / fsEntree * 20.0f;
        return true;
    }
    if (const int at = tarvic::Find(reply, "ASBC"); at >= 0) {
        for (int i = 0; i < NbSorties; ++i)
            if (tarvic::ReadField8(reply, at + DebutDonnees + 2 * i, raw))
                m_sortie[static_cast<std::size_t>(i)] = static_cast<float>(raw) / 255.0f * 20.0f;
        return true;
    }
    return false;
}

bool CAnalogique::LitSonde(int n, float& v) const
{
    if (n >= 0 && n < NbEntrees) {
        v = m_entree[static_cast<std::size_t>(n)];
        return true;
    }
    if (n >= NbEntrees && n < NbEntrees + NbSorties) {
        v = m_sortie[static_cast<std::size_t>(n - NbEntrees)];
        return true;
    }
    return false;
}

float CAnalogique::Pourcent420(int entree) const
{
    if (entree < 0 || entree >= NbEntrees) return 0.0f;
    return (m_entree[static_cast<std::size_t>(entree)] - 4.0f) * 100.0f / 16.0f;
}

std::string CAnalogique::SelecteurVoie(int voie) { return tarvic::Format("TB%x", static_cast<unsigned>(Numero(voie))); }

std::string CAnalogique::NumeroVoie(int voie) { return tarvic::Format("%d", Numero(voie)); }

std::string CAnalogique::ConfSortie(int voie, int code)
{
    return tarvic::Format("DFS%d%1.1x", Numero(voie), static_cast<unsigned>(code));
}

std::string CAnalogique::ConfEntree(int numero) { return tarvic::Format("DFE%d4", numero); }

std::string CAnalogique::CommandeIndependante(const char* mnemonique, std::int32_t octet)
{
    return mnemonique + tarvic::Hex2(octet);
}

void CAnalogique::EcritDefautsModes(tarvic::Profile& profile, char process, const char* ti, const char* td)
{
    using tarvic::ModeSection;
    constexpr tarvic::GeneDefaults direct{"50", "20.0", "10.0", "1.0", "0.4", "0.0", "10.0", "25.0", "10.0"};
    constexpr tarvic::GeneDefaults boucle{"50.0", "20.0", "10.0", "1.0", "0.4", "0.0", "10.0", "25.0", "100.0"};
    tarvic::WriteGeneDefaults(profile, ModeSection(process, 0, "GENE1"), direct);
    tarvic::WriteGeneDefaults(profile, ModeSection(process, 1, "GENE"), boucle);
    tarvic::WritePidDefaults(profile, ModeSection(process, 1, "PID"), {"1.0", "1.0", ti, td, "8.0"});
    tarvic::WriteGeneDefaults(profile, ModeSection(process, 3, "GENE"), boucle);
    tarvic::WriteCorZDefaults(profile, ModeSection(process, 3, "CorZ"));
}
