#include "tarvic/recording/Courbe.h"

#include <array>
#include <cstddef>

#include "tarvic/recording/BlocPoint.h"

namespace tarvic {

namespace {

constexpr int kCodeMax = 'c';

std::array<Courbe, kCodeMax + 1> ConstruitCourbes()
{
    using D = EchelleDN;
    using S = EchelleSIX;
    std::array<Courbe, kCodeMax + 1> courbes{};
    // The plain numbers name a row directly.
    for (int rang = 0; rang < CBlocPoint::kRangs; ++rang)
        courbes[static_cast<std::size_t>(rang)] = {rang, rang, false, D::Pourcent, S::Brute, 0, 0};
    courbes['2'] = {8, 9, true, D::Pourcent, S::Brute, 0, 0};
    courbes['3'] = {10, 12, false, D::Pourcent, S::Brute, 0, 0};
    courbes['4'] = {11, 13, false, D::Pourcent, S::Brute, 0, 0};
    courbes['5'] = {12, 14, false, D::Pourcent, S::Brute, 0, 0};
    courbes['6'] = {13, 15, false, D::Pourcent, S::Brute, 0, 0};
    courbes['7'] = {0, 0, false, D::Pourcent, S::Mesure7, 0, 0};
    courbes['8'] = {1, 1, false, D::Pourcent, S::Brute, 1, 1};
    courbes['9'] = {2, 2, false, D::Pourcent, S::Brute, 1, 1};
    courbes[':'] = {4, 4, false, D::Vingt, S::Brute, 1, 1};
    courbes[';'] = {3, 3, false, D::Vingt, S::Brute, 1, 1};
    courbes['<'] = {4, 4, false, D::Decale, S::Brute, 0, 0};
    courbes['='] = {6, 6, false, D::Niveau, S::Brute, 0, 0};
    courbes['>'] = {9, 11, true, D::Pourcent, S::Brute, 0, 0};
    courbes['?'] = {4, 4, false, D::Vingt, S::Brute, 1, 1};
    courbes['@'] = {5, 5, false, D::Vingt, S::Brute, 1, 1};
    courbes['A'] = {4, 4, false, D::Decale, S::Brute, 0, 0};
    courbes['B'] = {5, 5, false, D::Decale, S::Brute, 0, 0};
    courbes['F'] = {5, 5, false, D::Brute, S::Brute, 0, 0};
    courbes['G'] = {4, 4, true, D::Brute, S::Quart, 0, 0};
    courbes['H'] = {2, 2, false, D::Brute, S::Div2048, 4, 4};
    courbes['I'] = {1, 1, false, D::Brute, S::Div8529, 5, 5};
    courbes['J'] = {4, 4, true, D::Pourcent, S::Position, 1, 1};
    courbes['K'] = {5, 5, false, D::Pourcent, S::Vitesse, 2, 2};
    courbes['L'] = {6, 6, false, D::Pourcent, S::Acceleration, 3, 3};
    courbes['M'] = {7, 7, false, D::Pourcent, S::Div2048, 4, 4};
    courbes['c'] = {15, 15, false, D::Brute, S::Brute, 2, 0};
    return courbes;
}

}  // namespace

const Courbe& TrouveCourbe(int code)
{
    static const std::array<Courbe, kCodeMax + 1> courbes = ConstruitCourbes();
    static const Courbe aucune{};
    return code >= 0 && code <= kCodeMax ? courbes[static_cast<std::size_t>(code)] : aucune;
}

}  // namespace tarvic
