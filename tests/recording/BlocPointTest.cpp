#include <gtest/gtest.h>

#include <sstream>

#include "tarvic/platform/Archive.h"
#include "tarvic/recording/BlocPoint.h"

TEST(BlocPointTest, ANewBlockIsAllZeros)
{
    const CBlocPoint bloc;
    for (int rang = 0; rang < CBlocPoint::kRangs; ++rang)
        for (int point = 0; point < CBlocPoint::kPoints; ++point) EXPECT_EQ(bloc.LitValeur(rang, point), 0);
}

TEST(BlocPointTest, SetValeurKeepsTheLow16Bits)
{
    CBlocPoint bloc;
    bloc.SetValeur(0, 0, 0x12345);
    bloc.SetValeur(15, 31, 0xF800);
    bloc.SetValeur(7, 3, -1);
    EXPECT_EQ(bloc.LitValeur(0, 0), 0x2345);
    EXPECT_EQ(bloc.LitValeur(15, 31), -2048);
    EXPECT_EQ(bloc.LitValeur(7, 3), -1);
}

TEST(BlocPointTest, OutOfRangeRowsAndPointsAreIgnored)
{
    CBlocPoint bloc;
    for (const auto& [rang, point] : {std::pair{-1, 0}, {16, 0}, {0, -1}, {0, 32}}) {
        bloc.SetValeur(rang, point, 7);
        EXPECT_EQ(bloc.LitValeur(rang, point), 0);
    }
    for (int rang = 0; rang < CBlocPoint::kRangs; ++rang)
        for (int point = 0; point < CBlocPoint::kPoints; ++point) EXPECT_EQ(bloc.LitValeur(rang, point), 0);
}

TEST(BlocPointTest, TheCopyHasAll512Values)
{
    CBlocPoint bloc;
    for (int rang = 0; rang < CBlocPoint::kRangs; ++rang)
        for (int point = 0; point < CBlocPoint::kPoints; ++point) bloc.SetValeur(rang, point, rang * 100 + point + 1);
    const CBlocPoint copie(bloc);
    bloc.SetValeur(3, 3, 0);
    for (int rang = 0; rang < CBlocPoint::kRangs; ++rang)
        for (int point = 0; point < CBlocPoint::kPoints; ++point)
            EXPECT_EQ(copie.LitValeur(rang, point), rang * 100 + point + 1);
}

TEST(BlocPointTest, SerializeWritesRowAfterRowAsLittleEndianWords)
{
    CBlocPoint bloc;
    bloc.SetValeur(0, 0, 0x0102);
    bloc.SetValeur(0, 31, 0x0304);
    bloc.SetValeur(1, 0, 0xA0B0);
    bloc.SetValeur(15, 31, 0x7FFF);
    std::stringstream flux;
    {
        CArchive ar(flux, CArchive::store);
        bloc.Serialize(ar);
    }
    std::string attendu(1024, '\0');
    attendu[0] = 0x02, attendu[1] = 0x01;
    attendu[62] = 0x04, attendu[63] = 0x03;
    attendu[64] = '\xB0', attendu[65] = '\xA0';
    attendu[1022] = '\xFF', attendu[1023] = 0x7F;
    EXPECT_EQ(flux.str(), attendu);

    CBlocPoint relu;
    CArchive ar(flux, CArchive::load);
    relu.Serialize(ar);
    EXPECT_FALSE(ar.Failed());
    EXPECT_EQ(relu.LitValeur(0, 31), 0x0304);
    EXPECT_EQ(relu.LitValeur(1, 0), static_cast<std::int16_t>(0xA0B0));
    EXPECT_EQ(relu.LitValeur(15, 31), 0x7FFF);
}

TEST(BlocPointTest, IsCreatableFromItsName)
{
    const CRuntimeClass* classe = CRuntimeClass::FromName("CBlocPoint");
    ASSERT_EQ(classe, RUNTIME_CLASS(CBlocPoint));
    EXPECT_EQ(classe->m_wSchema, 0);
    const std::unique_ptr<CObject> objet(classe->CreateObject());
    EXPECT_TRUE(objet->IsKindOf(RUNTIME_CLASS(CBlocPoint)));
}
