#include "tarvic/control/GeneFonction.h"

#include "tarvic/control/Boucle.h"
#include "tarvic/elements/Encoding.h"
#include "tarvic/elements/SerializeFields.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/StringTable.h"
#include "tarvic/platform/Text.h"

TARVIC_IMPLEMENT_SERIAL(CGeneFonction, CEidElement, 0)

namespace {

enum Conversion { Aucune, Niveau, Pente, Acceleration };

struct Parametre {
    int n;
    float CGeneFonction::* champ;
    Conversion conversion;
    const char* entree;  // profile entry, also the text read at construction
    const char* defaut;
};

const Parametre kParametres[] = {
    {0, &CGeneFonction::ECHELON, Niveau, "ECHELON", "0.0"},
    {1, &CGeneFonction::RAMPE, Pente, "RAMPE", "10.0"},
    {2, &CGeneFonction::FREQUENCE, Aucune, "FREQUENCE", "1.0"},
    {3, &CGeneFonction::RETARD, Aucune, "RETARD", "0.0"},
    {4, &CGeneFonction::C_REPOS, Niveau, "C_REPOS", "0.0"},
    {5, &CGeneFonction::AMPLITUDE, Niveau, "AMPLITUDE", "10.0"},
    {6, &CGeneFonction::ACCELERATION, Acceleration, "ACCELERATION", "20.0"},
    {1002, &CGeneFonction::TE_PT, Aucune, "TE_PT", "500.0"},
};

const Parametre* TrouveParametre(int n)
{
    for (const auto& parametre : kParametres)
        if (parametre.n == n) return &parametre;
    return nullptr;
}

// Kind names until the controlling application supplies its own.
const bool kNomsParDefaut = [] {
    const char* const noms[] = {
        "Echelon",                       // 200 step
        "Rampe",                         // 201 ramp
        "Sinus",                         // 202 sine
        "Consigne analogique",           // 203 kind 3 on a percent bench
        "Consigne externe",              // 204 kind 3 on a card-unit bench, kind 4 elsewhere
        "Consigne num\xE9rique",         // 205 kind 4 on the electrical load bench
        "Trap\xE8ze",                    // 206 trapezoid
        "Consigne du potentiom\xE8tre",  // 207 kind 4 on the motor bench
    };
    int id = CGeneFonction::kNomsSignaux;
    for (const char* nom : noms) tarvic::SetString(id++, nom);
    return true;
}();

bool EstTable(std::uint8_t type) { return type == CGeneFonction::Rampe || type == CGeneFonction::Trapeze; }

}  // namespace

CGeneFonction::CGeneFonction() { TE = tarvic::boucle::LitTE(); }

CGeneFonction::CGeneFonction(std::string name)
{
    m_grp = std::move(name);
    const std::string section = LitGrp();
    TypeSignal = static_cast<std::uint8_t>(Profil()->GetProfileInt(section, "TYPE", 0));
    for (const auto& parametre : kParametres)
        this->*parametre.champ = LitProfilFloat(section, parametre.entree, parametre.defaut);
    TE_SINUS = LitProfilFloat(section, "TE_SINUS", "500.0");
    // The axis always starts from its origin.
    if (m_process == 'X') C_REPOS = 0.0f;
    TE = tarvic::boucle::LitTE();
}

CGeneFonction::CGeneFonction(const CGeneFonction* other)
    : CEidElement(other), RETARD(other->RETARD), TypeSignal(other->TypeSignal), TypeSortie(other->TypeSortie),
      ECHELON(other->ECHELON), RAMPE(other->RAMPE), FREQUENCE(other->FREQUENCE), C_REPOS(other->C_REPOS),
      AMPLITUDE(other->AMPLITUDE), ACCELERATION(other->ACCELERATION), TE(other->TE),
      GainAcceleration(other->GainAcceleration), UniteValeur(other->UniteValeur), UniteVitesse(other->UniteVitesse),
      UniteAcceleration(other->UniteAcceleration), GainRampe(other->GainRampe), GainValeur(other->GainValeur),
      Option(other->Option)
{
}

void CGeneFonction::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << TypeSignal << C_REPOS << RETARD << TE_PT << ECHELON << RAMPE << FREQUENCE << ACCELERATION
           << static_cast<std::int32_t>(NbPoints) << static_cast<std::int32_t>(NbBlocs);
        for (int k = 0; k < NbPoints; ++k)
            ar << (static_cast<std::size_t>(k) < TablePoints.size() ? TablePoints[k] : std::int16_t{0});
        return;
    }
    const auto lecture = [](CArchive& in, std::uint8_t& type, float& repos, float& retard, float& tePt, float& echelon,
                            float& rampe, float& frequence, float& acceleration, int& nbPoints, int& nbBlocs,
                            std::vector<std::int16_t>& points) {
        in >> type >> repos >> retard >> tePt >> echelon >> rampe >> frequence >> acceleration >> nbPoints >> nbBlocs;
        // A count beyond what a calculation can produce is a damaged record:
        // nothing is allocated from it.
        if (in.Failed() || nbPoints < 0 || nbPoints > kMaxPoints || nbBlocs < 0 ||
            nbBlocs > kMaxPoints / kPointsParBloc + 1)
            return false;
        points.resize(static_cast<std::size_t>(nbPoints));
        for (auto& point : points) in >> point;
        return true;
    };
    // The loaded table replaces the current one: its download starts again.
    if (tarvic::LoadAllOrNothing(ar, lecture, TypeSignal, C_REPOS, RETARD, TE_PT, ECHELON, RAMPE, FREQUENCE,
                                 ACCELERATION, NbPoints, NbBlocs, TablePoints))
        BlocCourant = 0;
}

std::string CGeneFonction::LitConfiguration(int layout)
{
    const bool enLigne = layout == 0;
    int decimales = 0;
    if (!ModeDirect()) {
        decimales = 2;
        UniteValeur = "%";
        UniteVitesse = "%/s";
        UniteAcceleration = "%/s\xB2";
    } else if (EstGene1() && TypeSortie == 'T') {
        decimales = 2;
    }
    const std::string nom = NomSignal();
    const std::string valeurs = TexteValeurs(enLigne, decimales);
    const double repos = double{C_REPOS} * GainValeur;
    return tarvic::Format(enLigne ? "\\gConsigne:\\n %s, Valeur Repos = %.f %s,%s Retard =%.3f s\n"
                                  : "\\gConsigne:\\n\n %s\n Valeur Repos =\n  %.f %s\n%s Retard =\n  %.3f s\n",
                          nom.c_str(), repos, UniteValeur.c_str(), valeurs.c_str(), double{RETARD});
}

std::string CGeneFonction::NomSignal() const
{
    int id = kNomsSignaux + TypeSignal;
    if (TypeSignal == 3 && ModeDirect()) id = kNomsSignaux + 4;
    if (TypeSignal == 4 && m_process == 'I') id = kNomsSignaux + 7;
    if (TypeSignal == 4 && m_process == 'S') id = kNomsSignaux + 5;
    return tarvic::LoadString(id);
}

std::string CGeneFonction::TexteValeurs(bool enLigne, int d) const
{
    // "%.*f" with d decimals writes what the "%%.%df" templates substituted with d would.
    const double valeur = double{ECHELON} * GainValeur;
    const double vitesse = double{RAMPE} * GainRampe;
    const double amplitude = double{AMPLITUDE} * GainValeur;
    const double acceleration = double{ACCELERATION} * GainAcceleration;
    const char* uv = UniteValeur.c_str();
    const char* us = UniteVitesse.c_str();
    const char* ua = UniteAcceleration.c_str();
    switch (TypeSignal) {
    case Echelon: return tarvic::Format(enLigne ? "Val. C =%.*f %s" : " Val. C =\n  %.*f %s\n", d, valeur, uv);
    case Rampe:
        return tarvic::Format(enLigne ? "Val. C=%.*f %s, Val. V=%.*f %s" : " Val. C=\n  %.*f %s\n Val. V=\n  %.*f %s\n",
                              d, valeur, uv, d, vitesse, us);
    case Sinus:
        return tarvic::Format(enLigne ? "Val. C=%.*f %s, Ampl.=%.*f %s, Freq.= %.3f Hz"
                                      : " Val. C=\n  %.*f %s\n Ampl.=\n %.*f %s\n Freq.= %.3f Hz\n",
                              d, valeur, uv, d, amplitude, uv, double{FREQUENCE});
    case Trapeze:
        return tarvic::Format(enLigne ? "Val. C=%.*f %s, Val. V=%.*f %s,Val. Acc=%.*f %s"
                                      : " Val. C=\n  %.*f %s\n Val. V=\n  %.*f %s\nVal. Acc=\n  %.*f %s\n",
                              d, valeur, uv, d, vitesse, us, d, acceleration, ua);
    default: return {};
    }
}

bool CGeneFonction::LitCParam(int n, int& v)
{
    if (n == 0) {
        v = TypeSignal;
        return true;
    }
    if (n == 1) {
        v = Option;
        return true;
    }
    return false;
}

float CGeneFonction::LitSonde(int) { return 0.0f; }

bool CGeneFonction::TraitRecept(std::string) { return false; }

std::string CGeneFonction::DmdMesure(int) { return {}; }

float CGeneFonction::VersStocke(int conversion, float v) const
{
    if (conversion == Aucune || !ModeDirect()) return v;
    if (EstGene1()) {
        if (TypeSortie == 'T') return static_cast<float>(double{v} / 24 * 1024);
        if (TypeSortie == 'C') return static_cast<float>(double{v} / 500 * 1024);
        return v;
    }
    if (conversion == Niveau) return static_cast<float>(double{v} / GainValeur);
    if (conversion == Pente) return static_cast<float>(double{v} / GainRampe);
    return static_cast<float>(double{v} / GainAcceleration);
}

float CGeneFonction::VersAffiche(int conversion, float stored) const
{
    if (conversion == Aucune || !ModeDirect()) return stored;
    if (EstGene1()) {
        if (TypeSortie == 'T') return static_cast<float>(double{stored} * 24 / 1024);
        if (TypeSortie != 0) return static_cast<float>(double{stored} * 500 / 1024);
        return stored;
    }
    if (conversion == Niveau) return static_cast<float>(double{stored} * GainValeur);
    if (conversion == Pente) return static_cast<float>(double{stored} * GainRampe);
    return static_cast<float>(double{stored} * GainAcceleration);
}

bool CGeneFonction::LitFParam(int n, float& v)
{
    const Parametre* parametre = TrouveParametre(n);
    if (!parametre) {
        v = 0.0f;
        return false;
    }
    v = VersAffiche(parametre->conversion, this->*parametre->champ);
    return true;
}

bool CGeneFonction::SetFParam(int n, float v)
{
    if (n == 1000) TE = v;
    const Parametre* parametre = TrouveParametre(n);
    if (!parametre) return false;
    float& champ = this->*parametre->champ;
    champ = VersStocke(parametre->conversion, v);
    EcritProfilFloat(LitGrp(), parametre->entree, "%.3f", champ);
    return true;
}

bool CGeneFonction::SetCParam(int n, char ch)
{
    switch (n) {
    case 0:
        TypeSignal = static_cast<std::uint8_t>(ch);
        if (TypeSignal == Rampe) CalculRampe();
        if (TypeSignal == Sinus) CalculSinus();
        if (TypeSignal == Trapeze) CalculTrap();
        return true;
    case 1: Option = static_cast<signed char>(ch); return false;
    case 55: TypeSortie = ch; return false;
    default: return false;
    }
}

double CGeneFonction::NiveauCarte(float x) const
{
    if (ModeDirect()) return x;
    return double{x} / 100 * m_fsSortie;
}

std::string CGeneFonction::CmdNiveau(const char* prefixe, const char* prefixeGene1, float value) const
{
    if (EstGene1()) return prefixeGene1 + tarvic::Hex4(tarvic::TruncateToInt(NiveauCarte(value)));
    if (ModeDirect()) return prefixe + tarvic::Hex8(tarvic::TruncateToInt(value));
    return prefixe + tarvic::Hex4(tarvic::TruncateToInt(NiveauCarte(value)));
}

std::string CGeneFonction::ConfFerz(int n)
{
    const bool table = EstTable(TypeSignal);
    const bool sinus = TypeSignal == Sinus;
    if (n == 0) {
        if (TypeSignal == Echelon || table || sinus) return "DSS";
        if (TypeSignal == 3) return "DSA";
        if (TypeSignal == 4) return ModeDirect() && m_process == 'S' ? "DSN" : "DSE";
        return {};
    }
    if (n == 1) {
        if (TypeSignal == Echelon) return CmdNiveau("CBF", "CBO", ECHELON);
        if (!table && !sinus) return {};
        BlocCourant = 0;
        // The count of an empty table is -1, written in full as "FFFFFFFF".
        return tarvic::Format(table ? "DTTT%4.4X" : "DTTS%4.4X", static_cast<unsigned>(NbPoints - 1));
    }
    if (n == 2) return "RED" + tarvic::Hex4(tarvic::TruncateToInt(double{RETARD} * 1000));
    if (n == 3) return CmdNiveau("CRBF", "CRBO", C_REPOS);
    if (n == 4) {
        if (table) return "RET" + tarvic::Hex4(tarvic::TruncateToInt(TE_PT));
        if (sinus) return "RES" + tarvic::Hex4(tarvic::TruncateToInt(TE_SINUS));
        return {};
    }
    if (n >= 5 && n <= NbBlocs + 4) return StrBloc();
    if (n == NbBlocs + 5) {
        if (table) return "DST";
        if (sinus) return "DSR";
        return {};
    }
    if (n == 1003) {
        switch (TypeSignal) {
        case Echelon: return "S";
        case Rampe: return "T";
        case Sinus: return "R";
        case 3: return "A";
        case 4: return ModeDirect() ? "N" : "E";
        default: return {};
        }
    }
    return {};
}

int CGeneFonction::NbParam() { return EstTable(TypeSignal) || TypeSignal == Sinus ? NbBlocs + 6 : 4; }

std::string CGeneFonction::StrBloc()
{
    if (BlocCourant < 0 || BlocCourant >= NbBlocs) return {};
    std::string line;
    if (EstTable(TypeSignal)) line = "CRT" + tarvic::Hex2(BlocCourant);
    if (TypeSignal == Sinus) line = "CRS" + tarvic::Hex2(BlocCourant);
    const std::int64_t premier = std::int64_t{kPointsParBloc} * BlocCourant;
    for (std::int64_t k = premier; k < premier + kPointsParBloc; ++k) {
        const bool present = k < NbPoints && k < static_cast<std::int64_t>(TablePoints.size());
        line += tarvic::Hex4(present ? TablePoints[static_cast<std::size_t>(k)] : 0);
    }
    ++BlocCourant;
    return line;
}

void CGeneFonction::SetGainRampe(int n)
{
    if (n != 4 && n != 5) GainRampe = 1.0f;
}

void CGeneFonction::ViderTable()
{
    TablePoints.clear();
    NbPoints = 0;
    NbBlocs = 0;
    BlocCourant = 0;
}
