#include "tarvic/recording/BlocPoint.h"

#include <algorithm>

#include "tarvic/platform/Archive.h"

TARVIC_IMPLEMENT_SERIAL(CBlocPoint, CObject, 0)

namespace {

bool InBlock(int rang, int point)
{
    return rang >= 0 && rang < CBlocPoint::kRangs && point >= 0 && point < CBlocPoint::kPoints;
}

}  // namespace

CBlocPoint::CBlocPoint() : m_valeur{} {}

CBlocPoint::CBlocPoint(const CBlocPoint& other) : CObject(other)
{
    std::copy(&other.m_valeur[0][0], &other.m_valeur[0][0] + kRangs * kPoints, &m_valeur[0][0]);
}

CBlocPoint::~CBlocPoint() = default;

void CBlocPoint::Serialize(CArchive& ar)
{
    for (auto& rang : m_valeur) {
        for (auto& valeur : rang) {
            if (ar.IsStoring())
                ar << valeur;
            else
                ar >> valeur;
        }
    }
}

void CBlocPoint::SetValeur(int rang, int point, std::int32_t valeur)
{
    if (InBlock(rang, point)) m_valeur[rang][point] = static_cast<std::int16_t>(valeur & 0xFFFF);
}

std::int16_t CBlocPoint::LitValeur(int rang, int point) const { return InBlock(rang, point) ? m_valeur[rang][point] : 0; }
