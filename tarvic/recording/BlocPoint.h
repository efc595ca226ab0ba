#pragma once

#include <array>
#include <cstdint>

#include "tarvic/platform/Object.h"

// One acquisition block: 32 consecutive sample points of the card's 16
// channels, kept as the raw signed 16-bit values the card sent.
class TARVIC_EXPORT CBlocPoint : public CObject {
    TARVIC_DECLARE_SERIAL(CBlocPoint)

public:
    static constexpr int kRangs = 16;   // channels (rows)
    static constexpr int kPoints = 32;  // points per block

    CBlocPoint();
    CBlocPoint(const CBlocPoint& other);
    CBlocPoint& operator=(const CBlocPoint&) = delete;
    ~CBlocPoint() override;

    // 512 little-endian 16-bit words, row 0 points 0 to 31 first.
    void Serialize(CArchive& ar) override;

    // Keeps the low 16 bits; a row or point out of range is ignored.
    void SetValeur(int rang, int point, std::int32_t valeur);
    // 0 for a row or point out of range.
    std::int16_t LitValeur(int rang, int point) const;

private:
    std::array<std::array<std::int16_t, kPoints>, kRangs> m_valeur{};
};
