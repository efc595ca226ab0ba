#include "tarvic/elements/EidElement.h"

#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CEidElement, CObject, 0)

namespace {

bool IsPercentBench(int process) { return process == 'D' || process == 'N'; }

}  // namespace

CEidElement::CEidElement()
{
    const auto profile = Profil();
    m_process = profile->GetProfileInt("TYPE", "PO", 68);
    const int mode = profile->GetProfileInt("TYPE", "REGULATEUR", 0);
    m_mode = tarvic::Format("%c_MODE%d_", static_cast<char>(m_process), mode);
    // Letters other than the five benches' get the card-unit scales.
    m_fsSortie = IsPercentBench(m_process) ? 3264.0f : 255.0f;
    m_fsEntree = IsPercentBench(m_process) ? 4095.0f : 32768.0f;
}

CEidElement::CEidElement(const CEidElement* other)
    : CObject(), m_mode(other->m_mode), m_grp(other->m_grp), m_process(other->m_process), m_fsSortie(other->m_fsSortie),
      m_fsEntree(other->m_fsEntree)
{
}

CEidElement::~CEidElement() = default;

void CEidElement::Serialize(CArchive&) {}

void CEidElement::InitValeur() {}

char CEidElement::LitBRetour() { return 'I'; }

bool CEidElement::LitEtat(int, int&) { return false; }

void CEidElement::LitMinMax(int, float& min, float& max)
{
    min = 1.0f;
    max = 100.0f;
}

std::string CEidElement::LitConfiguration(int) { return {}; }

bool CEidElement::LitCParam(int, int&) { return false; }

float CEidElement::LitSonde(int) { return 0.0f; }

bool CEidElement::TraitRecept(std::string) { return false; }

std::string CEidElement::DmdMesure(int) { return {}; }

bool CEidElement::LitFParam(int, float&) { return false; }

bool CEidElement::SetFParam(int, float) { return false; }

bool CEidElement::SetCParam(int, char) { return false; }

std::string CEidElement::ConfFerz(int) { return {}; }

int CEidElement::NbParam() { return 0; }

std::string CEidElement::LitGrp() const { return m_mode + m_grp; }

int CEidElement::LitProcess() const { return m_process; }

bool CEidElement::TestSynum() const { return m_process == 'S' || m_process == 'I' || m_process == 'X'; }

std::shared_ptr<tarvic::Profile> CEidElement::Profil() { return tarvic::GetProfile(); }

float CEidElement::LitProfilFloat(const std::string& section, const std::string& entry, const char* defaultText)
{
    float value = 0.0f;
    if (!tarvic::ScanFloat(Profil()->GetProfileString(section, entry, defaultText), value))
        tarvic::ScanFloat(defaultText, value);
    return value;
}

void CEidElement::EcritProfilFloat(const std::string& section, const std::string& entry, const char* format,
                                   float value)
{
    Profil()->WriteProfileString(section, entry, tarvic::Format(format, static_cast<double>(value)));
}
