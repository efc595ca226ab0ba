// What the three motorised benches share: motor settings as parameters and
// profile entries, the position replies and the motor commands.
#include <gtest/gtest.h>

#include <memory>

#include "MotorBenchFixture.h"
#include "tarvic/elements/AxeNum.h"
#include "tarvic/elements/IaPV.h"
#include "tarvic/elements/Synum.h"

using motortest::MotorBenchTest;

namespace {

template <class Bench>
struct BenchInfo;
template <>
struct BenchInfo<CAxeNum> {
    static constexpr char letter = 'X';
    static constexpr const char* section = "AXNUM";
};
template <>
struct BenchInfo<CIaPV> {
    static constexpr char letter = 'I';
    static constexpr const char* section = "IAPV";
};
template <>
struct BenchInfo<CSynum> {
    static constexpr char letter = 'S';
    static constexpr const char* section = "SYNUM";
};

template <class Bench>
class MotorShared : public MotorBenchTest {
protected:
    MotorShared() : MotorBenchTest(BenchInfo<Bench>::letter, BenchInfo<Bench>::section) {}
};

using Benches = ::testing::Types<CAxeNum, CIaPV, CSynum>;
TYPED_TEST_SUITE(MotorShared, Benches);

}  // namespace

TYPED_TEST(MotorShared, IsACardUnitBenchOfItsOwnGroup)
{
    TypeParam bench;
    EXPECT_TRUE(bench.TestSynum());
    EXPECT_EQ(bench.LitGrp(), std::string(1, BenchInfo<TypeParam>::letter) + "_MODE0_" + this->m_section);
    EXPECT_EQ(bench.ConfFerz(1000), std::string(1, BenchInfo<TypeParam>::letter));
    EXPECT_EQ(bench.NbParam(), 4);
}

TYPED_TEST(MotorShared, InheritsTheBaseAnswers)
{
    TypeParam bench;
    float min = 0.0f, max = 0.0f;
    int state = 7;
    bench.LitMinMax(3, min, max);
    EXPECT_EQ(min, 1.0f);
    EXPECT_EQ(max, 100.0f);
    EXPECT_EQ(bench.LitBRetour(), 'I');
    EXPECT_FALSE(bench.LitEtat(0, state));
    EXPECT_EQ(state, 7);
}

TYPED_TEST(MotorShared, IsCreatableFromItsClassName)
{
    const CRuntimeClass* record = CRuntimeClass::FromName(TypeParam::GetThisClass()->m_lpszClassName);
    ASSERT_EQ(record, TypeParam::GetThisClass());
    EXPECT_EQ(record->m_wSchema, 0);
    std::unique_ptr<CObject> object(record->CreateObject());
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CEidElement)));
    EXPECT_EQ(object->GetRuntimeClass(), record);
}

TYPED_TEST(MotorShared, MotorCommandKindIsAParameterAndACommand)
{
    TypeParam bench;
    int v = 0;
    EXPECT_EQ(bench.ConfFerz(10), "DTCMC");
    EXPECT_EQ(bench.ConfFerz(1004), "C");
    EXPECT_TRUE(bench.SetCParam(10, 'T'));
    EXPECT_TRUE(bench.LitCParam(10, v));
    EXPECT_EQ(v, 'T');
    EXPECT_EQ(bench.ConfFerz(10), "DTCMT");
    EXPECT_EQ(bench.ConfFerz(1004), "T");
    EXPECT_EQ(this->Get("CDE_MOTEUR"), "84");
    EXPECT_EQ(bench.ConfFerz(1006), "0");
}

TYPED_TEST(MotorShared, CardSettingsAreSignExtendedTo16Bits)
{
    TypeParam bench;
    int v = 0;
    EXPECT_TRUE(bench.SetCParam(11, '\x12'));
    EXPECT_TRUE(bench.SetCParam(12, '\xFF'));
    EXPECT_TRUE(bench.LitCParam(11, v));
    EXPECT_EQ(v, 0x12);
    EXPECT_TRUE(bench.LitCParam(12, v));
    EXPECT_EQ(v, 0xFFFF);
    EXPECT_EQ(this->Get("CMMP"), "18");
    EXPECT_EQ(this->Get("CMMV"), "65535");
    TypeParam again;
    EXPECT_TRUE(again.LitCParam(12, v));
    EXPECT_EQ(v, 0xFFFF);
}

TYPED_TEST(MotorShared, UnitsAreKeptAndWrittenButReportedAsNotSet)
{
    TypeParam bench;
    int v = 0;
    const char* entries[] = {"UNITE_POS", "UNITE_VIT", "UNITE_ACC", "UNITE_SR"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(bench.SetCParam(20 + i, static_cast<char>(2 + i))) << i;
        EXPECT_TRUE(bench.LitCParam(20 + i, v)) << i;
        EXPECT_EQ(v, 2 + i) << i;
        EXPECT_EQ(this->Get(entries[i]), std::to_string(2 + i)) << i;
    }
    EXPECT_FALSE(bench.SetCParam(21, '\xFE'));
    EXPECT_TRUE(bench.LitCParam(21, v));
    EXPECT_EQ(v, -2);
}

TYPED_TEST(MotorShared, ReadOnlyCharacterParameters)
{
    TypeParam bench;
    int v = 0;
    EXPECT_TRUE(bench.LitCParam(55, v));
    EXPECT_EQ(v, 0);  // UNITE_SR is 0 at construction
    bench.SetCParam(23, 1);
    EXPECT_TRUE(bench.LitCParam(55, v));
    EXPECT_EQ(v, 'C');
    EXPECT_TRUE(bench.LitCParam(1000, v));
    EXPECT_EQ(v, 9);
    EXPECT_FALSE(bench.SetCParam(55, 'T'));
    EXPECT_FALSE(bench.SetCParam(1000, 3));
    EXPECT_TRUE(bench.LitCParam(1000, v));
    EXPECT_EQ(v, 9);
}

TYPED_TEST(MotorShared, IndexNineAcceptsOnlyOneAndChangesNothing)
{
    TypeParam bench;
    EXPECT_TRUE(bench.SetCParam(9, 1));
    EXPECT_FALSE(bench.SetCParam(9, 2));
    EXPECT_TRUE(this->m_profile->m_writes.empty());
}

TYPED_TEST(MotorShared, UnlistedIndicesChangeNothing)
{
    TypeParam bench;
    int v = 42;
    float f = 4.2f;
    for (const int n : {-1, 0, 13, 24, 56, 999, 1001}) {
        EXPECT_FALSE(bench.LitCParam(n, v)) << n;
        EXPECT_FALSE(bench.SetCParam(n, 5)) << n;
        EXPECT_EQ(bench.LitSonde(n == 0 ? 8 : n), 0.0f) << n;
        EXPECT_EQ(bench.DmdMesure(n == 0 ? 1 : n), "") << n;
    }
    for (const int n : {-1, 5, 13, 499, 502, 1001, 1002, 1003, 1007, 1012}) EXPECT_EQ(bench.ConfFerz(n), "") << n;
    for (const int n : {-1, 0, 2, 99, 108, 1002, 1009}) {
        EXPECT_FALSE(bench.LitFParam(n, f)) << n;
        EXPECT_FALSE(bench.SetFParam(n, 3.0f)) << n;
    }
    EXPECT_EQ(v, 42);
    EXPECT_EQ(f, 4.2f);
    EXPECT_TRUE(this->m_profile->m_writes.empty());
}

TYPED_TEST(MotorShared, SamplingPeriodIsKeptAsGivenAndWrittenTruncated)
{
    TypeParam bench;
    float f = 0.0f;
    EXPECT_TRUE(bench.LitFParam(1003, f));
    EXPECT_EQ(f, 5.0f);
    EXPECT_EQ(bench.ConfFerz(1009), "0005");
    EXPECT_FALSE(bench.SetFParam(1003, 17.9f));
    EXPECT_TRUE(bench.LitFParam(1003, f));
    EXPECT_EQ(f, 17.9f);
    EXPECT_EQ(bench.ConfFerz(1009), "0011");
    EXPECT_EQ(this->Get("TEV"), "17");
    EXPECT_FALSE(bench.SetFParam(1003, 65537.0f));
    EXPECT_EQ(bench.ConfFerz(1009), "0001");
    TypeParam again;
    EXPECT_TRUE(again.LitFParam(1003, f));
    EXPECT_EQ(f, 65537.0f);
}

TYPED_TEST(MotorShared, EncoderResolutionIsStoredTruncated)
{
    TypeParam bench;
    float f = 0.0f;
    EXPECT_FALSE(bench.SetFParam(1004, 1000.7f));
    EXPECT_TRUE(bench.LitFParam(1004, f));
    EXPECT_EQ(f, 1000.0f);
    EXPECT_EQ(this->Get("CODEUR"), "1000");
}

TYPED_TEST(MotorShared, PositionRepliesTakeTheSignedPosition)
{
    TypeParam bench;
    EXPECT_TRUE(bench.TraitRecept("!AVPIFFFFFFFE\r\n"));
    EXPECT_EQ(bench.LitSonde(1), -2.0f);
    EXPECT_TRUE(bench.TraitRecept("!AVPS8000\r\n"));
    EXPECT_EQ(bench.LitSonde(1), -32768.0f);
    EXPECT_TRUE(bench.TraitRecept("!AVPI0001E240"));
    EXPECT_EQ(bench.LitSonde(1), 123456.0f);
}

TYPED_TEST(MotorShared, ShortPositionReplyKeepsThePosition)
{
    TypeParam bench;
    bench.TraitRecept("AVPI0000000A");
    EXPECT_TRUE(bench.TraitRecept("AVPI"));
    EXPECT_TRUE(bench.TraitRecept("AVPS\r\n"));
    EXPECT_EQ(bench.LitSonde(1), 10.0f);
}

TYPED_TEST(MotorShared, TheFirstMnemonicInOrderDecides)
{
    TypeParam bench;
    bench.TraitRecept("AVPI0000000A");
    // "ASP" is looked for first: it decides even though it carries no data here.
    EXPECT_TRUE(bench.TraitRecept("AVPI00000005ASP"));
    EXPECT_EQ(bench.LitSonde(1), 10.0f);
    // "AVPI" before "AVPS".
    EXPECT_TRUE(bench.TraitRecept("AVPS0003AVPI00000004"));
    EXPECT_EQ(bench.LitSonde(1), 4.0f);
}

TYPED_TEST(MotorShared, LinesWithoutAMnemonicChangeNothing)
{
    TypeParam bench;
    bench.TraitRecept("AVPI0000000A");
    for (const char* line : {"", "!OK\r\n", "!Erreur\r\n", "AS", "AEBC0001000200030004", "APID0001"})
        EXPECT_FALSE(bench.TraitRecept(line)) << line;
    EXPECT_EQ(bench.LitSonde(1), 10.0f);
}

TYPED_TEST(MotorShared, MeasurementRequestZeroIsASP)
{
    TypeParam bench;
    EXPECT_EQ(bench.DmdMesure(0), "ASP");
    EXPECT_EQ(bench.DmdMesure(0), "ASP");  // no pending state for measurements
}

TYPED_TEST(MotorShared, RotaryUnitsConvertPositionSpeedAndAcceleration)
{
    TypeParam bench;
    bench.SetFParam(1004, 500.0f);  // N
    bench.SetFParam(1003, 5.0f);    // T = 4.8825 ms
    // Position 1000 counts, speed 100 counts per period, acceleration 10.
    ASSERT_TRUE(bench.TraitRecept("ASP000000000000" + std::string(BenchInfo<TypeParam>::letter == 'X' ? "" : "0000") +
                                  "000003E80064000A"));
    ASSERT_EQ(bench.LitSonde(1), 1000.0f);
    ASSERT_EQ(bench.LitSonde(0), 100.0f);
    const struct {
        int unit;
        float position, speed, acceleration;
    } cases[] = {
        {1, 720.0f, 614.43939f, 20.974209f},
        {2, 2.0f, 64.343887f, 131.78094f},
        {3, 12.5664f, 10.240657f, 0.0f},  // acceleration unit 3: per bench
    };
    for (const auto& c : cases) {
        bench.SetCParam(20, static_cast<char>(c.unit));
        bench.SetCParam(21, static_cast<char>(c.unit));
        bench.SetCParam(22, static_cast<char>(c.unit));
        EXPECT_NEAR(bench.LitSonde(4), c.position, c.position * 1e-5f) << c.unit;
        EXPECT_NEAR(bench.LitSonde(5), c.speed, c.speed * 1e-5f) << c.unit;
        if (c.unit != 3) {
            EXPECT_NEAR(bench.LitSonde(6), c.acceleration, c.acceleration * 1e-5f) << c.unit;
        }
    }
    bench.SetCParam(20, 9);
    bench.SetCParam(21, 0);
    bench.SetCParam(22, 0);
    EXPECT_EQ(bench.LitSonde(4), 1000.0f);
    EXPECT_EQ(bench.LitSonde(5), 100.0f);
    EXPECT_EQ(bench.LitSonde(6), 1.0f);  // raw, divided by 10 all the same
}

TYPED_TEST(MotorShared, UnitFactorsFollowTheUnits)
{
    TypeParam bench;
    float f = 0.0f;
    bench.SetFParam(1004, 500.0f);
    bench.SetFParam(1003, 5.0f);
    bench.SetCParam(20, 1);
    bench.SetCParam(21, 1);
    EXPECT_TRUE(bench.LitFParam(100, f));
    EXPECT_FLOAT_EQ(f, 0.72f);
    EXPECT_TRUE(bench.LitFParam(101, f));
    EXPECT_NEAR(f, 6.1443932f, 1e-5f);
    bench.SetCParam(20, 3);
    bench.SetCParam(21, 3);
    EXPECT_TRUE(bench.LitFParam(100, f));
    EXPECT_FLOAT_EQ(f, 6.2832f / 500.0f);
    EXPECT_TRUE(bench.LitFParam(101, f));
    EXPECT_NEAR(f, 0.10240656f, 1e-7f);
    bench.SetCParam(20, 0);
    bench.SetCParam(21, 5);
    EXPECT_TRUE(bench.LitFParam(100, f));
    EXPECT_EQ(f, 1.0f);
    EXPECT_TRUE(bench.LitFParam(101, f));
    EXPECT_EQ(f, 1.0f);
    // Read-only.
    EXPECT_FALSE(bench.SetFParam(100, 2.0f));
    EXPECT_FALSE(bench.SetFParam(101, 2.0f));
    EXPECT_TRUE(bench.LitFParam(100, f));
    EXPECT_EQ(f, 1.0f);
}

TYPED_TEST(MotorShared, SummaryNamesTheMotorCommand)
{
    TypeParam bench;
    EXPECT_EQ(bench.LitConfiguration(1).rfind(" Cde en courant\n", 0), 0u);
    EXPECT_EQ(bench.LitConfiguration(0).rfind(", Commande en courant", 0), 0u);
    bench.SetCParam(10, 'T');
    EXPECT_EQ(bench.LitConfiguration(2).rfind(" Cde en tension\n", 0), 0u);
    EXPECT_EQ(bench.LitConfiguration(0).rfind(", Commande en tension", 0), 0u);
    bench.SetCParam(10, 'X');
    EXPECT_EQ(bench.LitConfiguration(0).rfind(", Commande en courant", 0), 0u);
}

TYPED_TEST(MotorShared, ATruncatedArchiveLeavesTheSettingsAlone)
{
    TypeParam bench;
    bench.SetFParam(1003, 9.0f);
    const std::string record = tarvic::test::StoredHex(bench);
    TypeParam other;
    other.SetFParam(1003, 3.0f);
    EXPECT_FALSE(tarvic::test::LoadHex(other, record.substr(0, record.size() - 2)));
    float f = 0.0f;
    other.LitFParam(1003, f);
    EXPECT_EQ(f, 3.0f);
    EXPECT_TRUE(tarvic::test::LoadHex(other, record));
    other.LitFParam(1003, f);
    EXPECT_EQ(f, 9.0f);
}

TYPED_TEST(MotorShared, ArchivedAsAnObjectItComesBackAsItsOwnClass)
{
    TypeParam bench;
    bench.SetFParam(1004, 2048.0f);
    const auto object = tarvic::test::ThroughArchive(bench);
    ASSERT_NE(object, nullptr);
    auto* loaded = dynamic_cast<CEidElement*>(object.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetRuntimeClass(), TypeParam::GetThisClass());
    float f = 0.0f;
    EXPECT_TRUE(loaded->LitFParam(1004, f));
    EXPECT_EQ(f, 2048.0f);
}
