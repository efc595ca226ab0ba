// The table calculations of the setpoint generator: ramp, sine and trapezoid.
//
// Rounding: each expression is evaluated in double precision and rounded to
// float where its result is stored in a named float (the period, a time, an
// increment, the floating position...), as the tables have always been
// computed by the x87 arithmetic of the original hosts. Every expression
// therefore starts from a double operand; an expression evaluated in float
// instead rounds after every operation and moves the last points of a table
// (the 134-point trapezoid would add up to 1000 rather than 999).
#include <cmath>
#include <cstdint>
#include <fstream>

#include "tarvic/control/GeneFonction.h"
#include "tarvic/elements/Encoding.h"
#include "tarvic/platform/Text.h"
#include "tarvic/platform/Trace.h"

namespace {

// The point period travels in a 16-bit field: a search that would go beyond
// it, or that the card period cannot advance, gives up.
constexpr float kMaxPeriode = 65535.0f;
constexpr int kMaxPasses = 65536;

// Lengthens the point period by the card period `te` from `premier` until
// `accepte(periode)` holds. False when no period within the field is accepted.
template <class Accepte>
bool ChercherPeriode(float te, float premier, Accepte accepte, float& periode)
{
    if (!(te > 0.0f)) return false;
    float essai = premier;
    for (int passe = 0; passe < kMaxPasses && essai <= kMaxPeriode; ++passe) {
        if (accepte(essai)) {
            periode = essai;
            return true;
        }
        essai = essai + te;
    }
    return false;
}

// The generator's trace file: written only when it could be opened.
class FichierTrace {
public:
    explicit FichierTrace(const char* name) : m_file(name, std::ios::binary | std::ios::trunc) {}
    void Ecrit(const std::string& text)
    {
        if (m_file) m_file << text;
    }

private:
    std::ofstream m_file;
};

// Integer positions add up modulo 2^32, as the card's registers do, rather
// than overflowing.
std::int32_t Ajoute(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// One step of the increment form: the integer position `position` follows the
// floating position `cumul`, so that truncation errors do not accumulate. The
// result is the point (the change since the previous point).
std::int32_t Incremente(float inc, float cumul, std::int32_t& position)
{
    const std::int32_t q = tarvic::TruncateToInt(inc);
    position = Ajoute(position, q);
    const float ecart = static_cast<float>(double{cumul} - position);
    position = tarvic::TruncateToInt(double{ecart} + position);
    return tarvic::TruncateToInt(double{ecart} + q);
}

}  // namespace

void CGeneFonction::CalculRampe()
{
    ViderTable();
    const float E = ECHELON;
    const float R = C_REPOS;
    const float V = RAMPE;
    const float delta = static_cast<float>(double{E} - R);
    FichierTrace trace("rampe.txt");
    trace.Ecrit(tarvic::Format("Ech=%.3f,repos=%.3f;delta=%.3f\n", double{E}, double{R}, double{delta}));
    tarvic::TraceFormat("Ech=%.3f,repos=%.3f;delta=%.3f", double{E}, double{R}, double{delta});
    const float final = static_cast<float>(NiveauCarte(E));
    // Only rising ramps: a fall below the rest value would give a table of
    // final values or no table at all.
    if (!(V > 0.0f) || !(delta > 0.0f)) return;

    float nf = 0.0f;
    int nbPoints = 0;
    const auto accepte = [&](float periode) {
        const float duree = static_cast<float>(double{delta} / V);
        nf = static_cast<float>(double{duree} / periode * 1000);
        nbPoints = tarvic::TruncateToInt(double{nf} + 3);
        const float pas = static_cast<float>(double{V} * periode / 1000);
        return nbPoints > 0 && nbPoints <= kMaxPoints && pas >= 1.0f;
    };
    float periode = 0.0f;
    if (!ChercherPeriode(TE, TE, accepte, periode)) return;
    TE_PT = periode;
    NbPoints = nbPoints;

    const std::int32_t complets = tarvic::TruncateToInt(nf);
    TablePoints.assign(static_cast<std::size_t>(NbPoints), 0);
    const float pas = static_cast<float>(double{V} * TE_PT / 1000);
    float cumul = R;
    std::int32_t position = tarvic::TruncateToInt(R);
    trace.Ecrit("rang\tdelta\tconsigne\n");
    for (int i = 0; i < NbPoints; ++i) {
        std::int32_t point = 0;
        if (!ModeDirect()) {
            float valeur = static_cast<float>((double{pas} * i + R) / 100);
            valeur = static_cast<float>(double{valeur} * m_fsSortie);
            point = tarvic::TruncateToInt(i < complets ? valeur : final);
        } else if (EstGene1()) {
            const float valeur = static_cast<float>(double{pas} * i + R);
            point = tarvic::TruncateToInt(i < complets ? valeur : final);
        } else {
            const float inc = i <= complets ? pas : 0.0f;
            cumul = static_cast<float>(double{cumul} + inc);
            point = Incremente(inc, cumul, position);
            trace.Ecrit(tarvic::Format("%d\t%d\t%d\n", i, tarvic::TruncateToInt(inc), position));
        }
        TablePoints[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(point);
    }
    NbBlocs = NbPoints / kPointsParBloc + 1;
    tarvic::TraceFormat("\nrang=%d, pos_int=%d,pos_rel=%.3f\n", NbPoints, position, double{cumul});
    tarvic::TraceFormat("nb_bloc=%d\n", NbBlocs);
    BlocCourant = 0;
}

void CGeneFonction::CalculSinus()
{
    ViderTable();
    const float F = FREQUENCE;
    if (!(F > 0.0f) || !std::isfinite(F)) return;
    const float periode = static_cast<float>(1000.0 / F);
    int k = 200;
    float teSinus = static_cast<float>(double{periode} / k);
    while (teSinus < TE && k > 1) {
        --k;
        teSinus = static_cast<float>(double{periode} / k);
    }
    // Even one point per period would be faster than the card samples.
    if (teSinus < TE) return;
    int nbPoints = 0;
    while ((nbPoints = tarvic::TruncateToInt(double{periode} / teSinus)) > kMaxPoints) teSinus = teSinus * 2.0f;
    if (nbPoints <= 0) return;
    TE_SINUS = teSinus;
    NbPoints = nbPoints;
    TablePoints.assign(static_cast<std::size_t>(NbPoints), 0);
    constexpr float kPi = 3.1415927f;
    for (int i = 0; i < NbPoints; ++i) {
        float angle = static_cast<float>(2.0 * kPi * i);
        angle = static_cast<float>(double{angle} / NbPoints);
        float valeur = static_cast<float>(std::sin(double{angle}) * AMPLITUDE + ECHELON);
        if (!ModeDirect()) {
            valeur = static_cast<float>(double{valeur} / 100);
            valeur = static_cast<float>(double{valeur} * m_fsSortie);
        }
        TablePoints[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(tarvic::TruncateToInt(valeur));
    }
    NbBlocs = NbPoints / kPointsParBloc + 1;
    BlocCourant = 0;
}

void CGeneFonction::CalculTrap()
{
    FichierTrace trace("trap.txt");
    ViderTable();
    const float E = ECHELON;
    const float R = C_REPOS;
    const float V = RAMPE;
    const float A = ACCELERATION;
    const float delta = static_cast<float>(double{E} - R);
    trace.Ecrit(tarvic::Format("Echelon=%.3f inc\tcons_repos=%.3f\tdelta=%.3f\n", double{E}, double{R}, double{delta}));
    tarvic::TraceFormat("\ndelta=%.3f", double{delta});
    // Without speed or acceleration the motion never ends.
    if (!(V > 0.0f) || !(A > 0.0f)) return;

    const float s = delta < 0.0f ? -1.0f : 1.0f;
    float ta = static_cast<float>(double{V} / A);
    const float tc = static_cast<float>((delta - double{s} * A * ta * ta) / V);
    float tf = 0.0f;
    float td = 0.0f;
    float vmax = V;
    if (double{tc} * s > 0) {
        tf = static_cast<float>(2.0 * ta + double{tc} * s);
        td = static_cast<float>(double{tf} - ta);
    } else {
        // Too short to reach full speed: a triangle.
        tf = static_cast<float>(2.0 * std::sqrt(double{s} * delta / A));
        ta = static_cast<float>(double{tf} / 2);
        td = ta;
        vmax = static_cast<float>(double{ta} * A);
    }

    int nbPoints = 0;
    const auto accepte = [&](float periode) {
        nbPoints = Ajoute(tarvic::TruncateToInt(double{tf} / periode * 1000), 3);
        const float g = static_cast<float>(double{periode} * periode * A / 1000 / 1000);
        return nbPoints > 0 && nbPoints <= kMaxPoints && g >= 1.0f;
    };
    float periode = 0.0f;
    if (!ChercherPeriode(TE, static_cast<float>(2.0 * TE), accepte, periode)) return;
    TE_PT = periode;
    NbPoints = nbPoints;
    TablePoints.assign(static_cast<std::size_t>(NbPoints), 0);
    tarvic::TraceFormat("\nacc=%.3f, vmax=%.3f, te_pt=%.3f\n", double{A}, double{vmax}, double{TE_PT});

    float cumul = static_cast<float>(NiveauCarte(R));
    std::int32_t position = tarvic::TruncateToInt(cumul);
    trace.Ecrit("temps\tdelta\tposition\n");
    float t = 0.0f;
    float inc = 0.0f;
    for (int i = 0; i < NbPoints; ++i) {
        t = static_cast<float>(double{TE_PT} * i / 1000);
        if (t < ta)
            inc = static_cast<float>(double{s} * A * TE_PT / 1000 * t);
        else if (t < td)
            inc = static_cast<float>(double{s} * vmax * TE_PT / 1000);
        else if (t < tf)
            inc = static_cast<float>((vmax - (double{t} - td) * A) * s * TE_PT / 1000);
        else
            inc = 0.0f;
        std::int32_t point = 0;
        if (!ModeDirect()) {
            inc = static_cast<float>(double{inc} / 100);
            inc = static_cast<float>(double{inc} * m_fsSortie);
        }
        cumul = static_cast<float>(double{cumul} + inc);
        if (!ModeDirect() || EstGene1()) {
            point = tarvic::TruncateToInt(cumul);
            Incremente(inc, cumul, position);
        } else {
            point = Incremente(inc, cumul, position);
        }
        TablePoints[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(point);
        trace.Ecrit(tarvic::Format("%d\t%d\t%d\n", i, tarvic::TruncateToInt(inc), position));
    }
    NbBlocs = NbPoints / kPointsParBloc + 1;
    tarvic::TraceFormat("\n(%d=%f)=d %f p_r=%.3f p_i=%d\nnb_bloc=%d\n", NbPoints, double{t}, double{inc}, double{cumul},
                        position, NbBlocs);
    BlocCourant = 0;
}
