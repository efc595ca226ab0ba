#include "tarvic/recording/Enregistrement.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"
#include "tarvic/platform/Trace.h"
#include "tarvic/recording/Courbe.h"

TARVIC_IMPLEMENT_SERIAL(CEnregistrement, CEidElement, 0)

using tarvic::Courbe;
using tarvic::EchelleDN;
using tarvic::EchelleSIX;
using tarvic::TrouveCourbe;

namespace {

constexpr int kVoiesParPoint = CBlocPoint::kRangs;
constexpr int kChiffresParValeur = 4;
constexpr int kChiffresParBloc = CBlocPoint::kPoints * kVoiesParPoint * kChiffresParValeur;
// The whole line as delivered: the 2053 characters from "TSF" to the last data
// digit, the leading "!" and two more of the card's own.
constexpr int kLongueurBloc = 2056;
constexpr int kOffsetDepart = 819;  // raw value of the 4 mA end of a 4-20 mA input

// The bound moved down by steps of 10 until x lies strictly above it. Computed
// rather than stepped: from 2^28 on adding 10 to a float changes nothing,
// and the loop would never end.
float ElargitVersLeBas(float x, float borne)
{
    if (x > borne) return borne;
    const double pas = std::floor((static_cast<double>(borne) - x) / 10.0) + 1.0;
    const float elargie = static_cast<float>(static_cast<double>(borne) - 10.0 * pas);
    return elargie < x ? elargie : std::nextafter(x, -INFINITY);
}

// What an acquisition can have left: the points it counts (current block,
// plus the cycles of whole passes) are blocks it holds. A recording stopped
// and reselected may hold more; one that counts more than it holds was never
// written by an acquisition, and its point count would run past the blocks.
bool CompteursCoherents(std::uint16_t, std::int32_t, std::int32_t nbBloc, std::int32_t, std::int32_t numBloc,
                        std::int32_t nbCycle, const std::vector<std::unique_ptr<CBlocPoint>>& blocs)
{
    if (numBloc < 0 || nbCycle < 0 || (nbCycle > 0 && nbBloc <= 0)) return false;
    const std::int64_t comptes = std::int64_t{nbCycle} * nbBloc + numBloc;
    return comptes <= static_cast<std::int64_t>(blocs.size());
}

}  // namespace

CEnregistrement::CEnregistrement()
{
    m_grp = "ENREGISTREMENT";
    const auto profil = Profil();
    m_nbBloc = profil->GetProfileInt(m_grp, "NB_BLOC", 20);
    m_modeEnr = profil->GetProfileInt(m_grp, "MODE", 'O');
    m_tempsAttente = static_cast<std::uint16_t>(profil->GetProfileInt(m_grp, "TEM", 100));
}

CEnregistrement::CEnregistrement(const CEnregistrement* other)
    : CEidElement(other), m_reserve(other->m_reserve), m_nbCycle(other->m_nbCycle),
      m_tempsAttente(other->m_tempsAttente), m_modeEnr(other->m_modeEnr), m_blocPret(other->m_blocPret),
      m_numBloc(other->m_numBloc), m_nbBloc(other->m_nbBloc), m_gainAcc(other->m_gainAcc), m_gainVit(other->m_gainVit),
      m_gainPos(other->m_gainPos), m_mesure7(other->m_mesure7)
{
    m_blocs.reserve(other->m_blocs.size());
    for (const auto& bloc : other->m_blocs) m_blocs.push_back(std::make_unique<CBlocPoint>(*bloc));
}

CEnregistrement::~CEnregistrement() = default;

void CEnregistrement::Serialize(CArchive& ar)
{
    if (!tarvic::SerializeFieldsIf(ar, CompteursCoherents, m_tempsAttente, m_modeEnr, m_nbBloc, m_reserve, m_numBloc,
                                   m_nbCycle, m_blocs) ||
        ar.IsStoring())
        return;
    m_blocPret = true;
    m_start = false;
    m_charge = true;
}

bool CEnregistrement::TraitRecept(std::string reply)
{
    const int etat = tarvic::Find(reply, "TEM");
    if (etat >= 0) {
        TraitEtat(reply, etat);
        return true;
    }
    if (reply.size() == 1 && static_cast<unsigned char>(reply[0]) == 0xFF) return false;
    TraitBloc(reply, tarvic::Find(reply, "TSF"));
    return true;
}

void CEnregistrement::TraitEtat(const std::string& reply, int position)
{
    std::uint32_t numero = 0;
    if (!tarvic::ScanHexField(reply, position + 3, 2, numero) || static_cast<std::int32_t>(numero) != m_numBloc) return;
    const auto statut = static_cast<std::size_t>(position) + 5;
    m_blocPret = statut < reply.size() && reply[statut] == 'O';
    m_dmdEtat = false;
}

void CEnregistrement::TraitBloc(const std::string& reply, int position)
{
    const int longueur = static_cast<int>(reply.size());
    std::uint32_t numero = 0;
    const bool numeroLu = tarvic::ScanHexField(reply, position + 3, 2, numero);
    tarvic::TraceFormat("str_len=%d\n", longueur);
    if (longueur != kLongueurBloc) {
        RejetteBloc(longueur);
        return;
    }
    if (!numeroLu || static_cast<std::int32_t>(numero) != m_numBloc) return;
    // The data must lie inside the line: with "TSF" further in than the card
    // puts it, the last fields would be missing.
    const int debut = position + 5;
    if (debut + kChiffresParBloc > longueur) {
        RejetteBloc(longueur);
        return;
    }
    m_blocs.push_back(DecodeBloc(reply, debut));
    BlocSuivant();
}

void CEnregistrement::RejetteBloc(int longueur)
{
    tarvic::TraceFormat("erreur->str_len=%d\n", longueur);
    m_dmdBloc = false;  // the next LitBloc asks for the same block again
}

std::unique_ptr<CBlocPoint> CEnregistrement::DecodeBloc(const std::string& reply, int debut) const
{
    auto bloc = std::make_unique<CBlocPoint>();
    int position = debut;
    for (int point = 0; point < CBlocPoint::kPoints; ++point) {
        for (int rang = 0; rang < kVoiesParPoint; ++rang, position += kChiffresParValeur) {
            // Rows 1 and 2 carry 12-bit two's complement values. A field that is
            // no number stays 0.
            std::int32_t valeur = 0;
            if (rang == 1 || rang == 2)
                tarvic::ReadField12(reply, position, valeur);
            else
                tarvic::ReadField16(reply, position, valeur);
            bloc->SetValeur(rang, point, valeur);
        }
    }
    return bloc;
}

void CEnregistrement::BlocSuivant()
{
    ++m_numBloc;
    m_dmdBloc = false;
    m_dmdEtat = false;
    m_blocPret = false;
    if (m_numBloc != m_nbBloc) return;
    if (m_modeEnr == 'O') {
        m_start = false;
    } else {
        ++m_nbCycle;
        m_numBloc = 0;
    }
}

std::string CEnregistrement::DmdMesure(int n)
{
    const bool passeEnCours = (m_modeEnr == 'O' && m_numBloc < m_nbBloc) || m_modeEnr == 'E';
    if (n != 0 || !m_start || m_dmdEtat || !passeEnCours) return {};
    m_dmdEtat = true;
    return tarvic::Format("TEM%2.2X", static_cast<unsigned>(m_numBloc));
}

bool CEnregistrement::LitFParam(int n, float& v)
{
    if (n != 1001) return false;
    v = m_tempsAttente;
    return true;
}

bool CEnregistrement::SetFParam(int n, float v)
{
    if (n == 1001) {
        m_tempsAttente = static_cast<std::uint16_t>(tarvic::TruncateToInt(v));
        Profil()->WriteProfileInt(m_grp, "TEM", m_tempsAttente);
    }
    return false;
}

bool CEnregistrement::SetCParam(int n, char ch)
{
    if (n == 55) m_mesure7 = ch;
    return false;
}

std::string CEnregistrement::ConfFerz(int n)
{
    switch (n) {
    case 0: return tarvic::Format("EM%c", static_cast<char>(m_modeEnr));
    case 1: return "EVE";
    case 1007: return tarvic::Hex4(m_tempsAttente);
    default: return {};
    }
}

int CEnregistrement::NbParam() { return 2; }

std::string CEnregistrement::LitBloc()
{
    if (m_dmdBloc) return {};
    m_dmdBloc = true;
    return tarvic::Format("TSF%2.2X", static_cast<unsigned>(m_numBloc));
}

std::string CEnregistrement::LitBloc(int) { return {}; }

int CEnregistrement::LitParam(int i) const
{
    switch (i) {
    case 0: return static_cast<int>(m_courbes.size());
    case 1: return m_blocPret ? 1 : 0;
    case 2: return m_nbBloc;
    case 3: return m_modeEnr;
    case 4: return m_nbCycle;
    case 5: return m_numBloc;
    default: return 0;
    }
}

bool CEnregistrement::LitStart() const { return m_start; }

void CEnregistrement::SetStart(bool b)
{
    if (b) {
        m_nbCycle = 0;
        m_numBloc = 0;
        m_blocPret = false;
        m_charge = false;
        // A request left unanswered by the previous run would otherwise block
        // the new one for good: its reply names a block that is no longer current.
        m_dmdEtat = false;
        m_dmdBloc = false;
        m_blocs.clear();
    }
    m_start = b;
}

void CEnregistrement::SetMode(int m)
{
    m_modeEnr = m;
    Profil()->WriteProfileInt("ENREGISTREMENT", "MODE", m);
}

int CEnregistrement::LitTempsAttente() const { return m_tempsAttente * CBlocPoint::kPoints; }

int CEnregistrement::LitNbPoint() const
{
    return m_numBloc * CBlocPoint::kPoints + m_nbCycle * CBlocPoint::kPoints * m_nbBloc;
}

void CEnregistrement::SetPoint(int code, int on, std::string)
{
    if (on == 1) {
        m_courbes.push_back(code);
        return;
    }
    const auto trouve = std::find(m_courbes.begin(), m_courbes.end(), code);
    if (trouve == m_courbes.end()) return;
    m_courbes.erase(trouve);
    if (m_courbes.empty() && !m_charge) m_numBloc = 0;
}

int CEnregistrement::LitNum(int i) const
{
    return i >= 0 && i < static_cast<int>(m_courbes.size()) ? m_courbes[static_cast<std::size_t>(i)] : 0;
}

bool CEnregistrement::TestBloc(int code) const
{
    return std::find(m_courbes.begin(), m_courbes.end(), code) != m_courbes.end();
}

int CEnregistrement::RangCourbe(int code) const
{
    const Courbe& courbe = TrouveCourbe(code);
    return TestSynum() ? courbe.rangSIX : courbe.rangDN;
}

float CEnregistrement::LitPoint(int code, int index) const
{
    const int rang = RangCourbe(code);
    if (rang < 0 || index < 0) return 0.0f;
    // The blocks are indexed, not walked: a redraw reads every point of every curve.
    const auto bloc = static_cast<std::size_t>(index / CBlocPoint::kPoints);
    const int point = index % CBlocPoint::kPoints;
    if (bloc >= m_blocs.size()) return 0.0f;
    const CBlocPoint& valeurs = *m_blocs[bloc];
    std::int32_t brut = valeurs.LitValeur(rang, point);
    if (TestSynum() && TrouveCourbe(code).mot32SIX) {
        const auto basse = static_cast<std::uint16_t>(brut);
        const auto haute = static_cast<std::uint32_t>(valeurs.LitValeur(rang - 1, point));
        brut = static_cast<std::int32_t>((haute << 16) | basse);
    }
    return ConvFloat(code, brut);
}

float CEnregistrement::ConvFloat(int code, std::int32_t raw) const
{
    const Courbe& courbe = TrouveCourbe(code);
    const auto v = static_cast<float>(raw);
    if (!TestSynum()) {
        switch (courbe.echelleDN) {
        case EchelleDN::Pourcent: return v * 100.0f / m_fsSortie;
        case EchelleDN::Vingt: return v * 20.0f / m_fsEntree;
        case EchelleDN::Decale: return (v - kOffsetDepart) * 100.0f / (m_fsEntree - kOffsetDepart);
        case EchelleDN::Niveau: {
            const float niveau = v * 100.0f / (m_fsEntree - kOffsetDepart);
            return m_process == 'N' ? niveau - 20.0f : niveau;
        }
        case EchelleDN::Brute: return v;
        }
    }
    switch (courbe.echelleSIX) {
    case EchelleSIX::Brute: return v;
    case EchelleSIX::Mesure7:
        if (m_mesure7 == 0) return v;
        return m_mesure7 == 'T' ? v / 1024.0f * 24.0f : v / 1024.0f * 500.0f;
    case EchelleSIX::Quart: return v / 4.0f;
    case EchelleSIX::Div2048: return v / 2.048f;
    case EchelleSIX::Div8529: return v / 85.29f;
    case EchelleSIX::Position: return v * m_gainPos / 4.0f;
    case EchelleSIX::Vitesse: return v * m_gainVit;
    case EchelleSIX::Acceleration: return v * m_gainAcc / 10.0f;
    }
    return v;
}

void CEnregistrement::CalculMinMax(int code, int count, float& min, float& max) const
{
    for (int i = 0; i < count; ++i) {
        const float x = LitPoint(code, i);
        if (!std::isfinite(x)) continue;  // no range of steps of 10 holds it
        min = ElargitVersLeBas(x, min);
        max = -ElargitVersLeBas(-x, -max);
    }
}

bool CEnregistrement::RecherchePoint(int index, float& v) const
{
    for (const int code : m_courbes) {
        const float x = LitPoint(code, index);
        const std::int32_t ecart = tarvic::TruncateToInt(v - x);
        if (ecart > -5 && ecart < 5) {
            v = x;
            return true;
        }
    }
    return false;
}

int CEnregistrement::RechercheRang(int mode, int code, int start, int stop, float tol) const
{
    if (mode == 0) {
        const float ref = LitPoint(code, start);
        int resultat = start;
        int suite = 0;  // consecutive outside points
        for (int i = start; i >= stop; --i) {
            const float x = LitPoint(code, i);
            if (!(x > ref + tol || x < ref - tol)) {
                suite = 0;
                continue;
            }
            if (suite == 0) resultat = i;
            if (suite == 2) break;
            ++suite;
        }
        return resultat;
    }
    if (mode == 1) {
        float max = LitPoint(code, start);
        int resultat = start;
        for (int i = start; i >= stop; --i) {
            const float x = LitPoint(code, i);
            if (x > max) {
                max = x;
                resultat = i;
            }
        }
        return resultat;
    }
    return start;
}

void CEnregistrement::CalculGain(int position, int vitesse, int acceleration, float counts, float period)
{
    const float q = period * 0.9765f;
    switch (position) {
    case 1: m_gainPos = 360.0f / counts; break;
    case 2: m_gainPos = 1.0f / counts; break;
    case 3: m_gainPos = 6.2832f / counts; break;
    case 4: m_gainPos = 50.26548f / (counts * 33.2f); break;
    default: m_gainPos = 1.0f;
    }
    switch (vitesse) {
    case 1: m_gainVit = 60.0f / (4.0f * counts * q); break;
    case 2: m_gainVit = 6.2832f / (4.0f * counts * q); break;
    case 3: m_gainVit = 1.0f / (4.0f * counts * q); break;
    case 4: m_gainVit = 50.26548f / (4.0f * counts * 33.2f * q); break;
    default: m_gainVit = 1.0f;
    }
    switch (acceleration) {
    case 1: m_gainAcc = 1.0f / (4.0f * counts * period * q); break;
    case 2: m_gainAcc = 6.2832f / (4.0f * counts * q * q); break;
    case 3: m_gainAcc = 50.26548f / (4.0f * counts * 33.2f * q * q); break;
    default: m_gainAcc = 1.0f;
    }
}

int CEnregistrement::LitAxe(int code) const
{
    if (!TestSynum()) return TrouveCourbe(code).axeDN;
    if (code == '7') return m_mesure7 == 'T' ? 5 : m_mesure7 == 'C' ? 4 : 0;
    return TrouveCourbe(code).axeSIX;
}

void CEnregistrement::ExportTxt(std::string path)
{
    // Creates (or empties) the file and closes it again; an unusable path does nothing.
    std::ofstream fichier(path, std::ios::out | std::ios::trunc);
}
