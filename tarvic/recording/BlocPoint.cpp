#include "tarvic/recording/BlocPoint.h"

#include "tarvic/elements/SerializeFields.h"

TARVIC_IMPLEMENT_SERIAL(CBlocPoint, CObject, 0)

namespace {

bool InBlock(int rang, int point)
{
    return rang >= 0 && rang < CBlocPoint::kRangs && point >= 0 && point < CBlocPoint::kPoints;
}

}  // namespace

CBlocPoint::CBlocPoint() = default;

CBlocPoint::CBlocPoint(const CBlocPoint& other) = default;

CBlocPoint::~CBlocPoint() = default;

void CBlocPoint::Serialize(CArchive& ar) { tarvic::SerializeFields(ar, m_valeur); }

void CBlocPoint::SetValeur(int rang, int point, std::int32_t valeur)
{
    if (InBlock(rang, point)) m_valeur[rang][point] = static_cast<std::int16_t>(valeur & 0xFFFF);
}

std::int16_t CBlocPoint::LitValeur(int rang, int point) const
{
    return InBlock(rang, point) ? m_valeur[rang][point] : 0;
}
