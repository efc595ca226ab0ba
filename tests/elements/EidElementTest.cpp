#include <gtest/gtest.h>

#include <memory>

#include "tarvic/elements/EidElement.h"
#include "tarvic/platform/MemoryProfile.h"

namespace {

// Shows the full-scale values, which only derived elements use.
struct ScaleProbe : CEidElement {
    using CEidElement::m_fsEntree;
    using CEidElement::m_fsSortie;
};

class EidElementTest : public ::testing::Test {
protected:
    void SetUp() override { tarvic::SetProfile(m_profile); }
    void TearDown() override { tarvic::SetProfile(nullptr); }
    std::shared_ptr<tarvic::MemoryProfile> m_profile = std::make_shared<tarvic::MemoryProfile>();
};

}  // namespace

TEST_F(EidElementTest, WithoutTypeSectionItIsAnAirFlowElementInModeZero)
{
    ScaleProbe element;
    EXPECT_EQ(element.LitGrp(), "D_MODE0_");
    EXPECT_EQ(element.LitProcess(), 'D');
    EXPECT_FALSE(element.TestSynum());
    EXPECT_EQ(element.m_fsSortie, 3264.0f);
    EXPECT_EQ(element.m_fsEntree, 4095.0f);
}

TEST_F(EidElementTest, BenchAndModeComeFromTheProfileAtConstruction)
{
    m_profile->WriteProfileInt("TYPE", "PO", 88);
    m_profile->WriteProfileInt("TYPE", "REGULATEUR", 5);
    CEidElement before;
    m_profile->WriteProfileInt("TYPE", "PO", 'N');
    CEidElement after;
    CEidElement copy(&before);
    EXPECT_EQ(before.LitGrp(), "X_MODE5_");
    EXPECT_TRUE(before.TestSynum());
    EXPECT_EQ(after.LitGrp(), "N_MODE5_");
    EXPECT_FALSE(after.TestSynum());
    EXPECT_EQ(copy.LitGrp(), "X_MODE5_");
    EXPECT_EQ(copy.LitProcess(), 'X');
}

TEST_F(EidElementTest, TestSynumHoldsForTheCardUnitBenches)
{
    for (const char letter : {'S', 'I', 'X'}) {
        m_profile->WriteProfileInt("TYPE", "PO", letter);
        ScaleProbe element;
        EXPECT_TRUE(element.TestSynum()) << letter;
        EXPECT_EQ(element.m_fsSortie, 255.0f) << letter;
        EXPECT_EQ(element.m_fsEntree, 32768.0f) << letter;
    }
    for (const char letter : {'D', 'N'}) {
        m_profile->WriteProfileInt("TYPE", "PO", letter);
        ScaleProbe element;
        EXPECT_FALSE(element.TestSynum()) << letter;
        EXPECT_EQ(element.m_fsSortie, 3264.0f) << letter;
    }
}

TEST_F(EidElementTest, BaseContractGivesNothingAndChangesNothing)
{
    CEidElement element;
    int i = 42;
    float f = 4.2f;
    float min = 0, max = 0;
    EXPECT_EQ(element.LitBRetour(), 'I');
    EXPECT_FALSE(element.LitEtat(0, i));
    EXPECT_FALSE(element.LitCParam(1000, i));
    EXPECT_FALSE(element.LitFParam(0, f));
    EXPECT_FALSE(element.SetFParam(0, 1.0f));
    EXPECT_FALSE(element.SetCParam(0, 'A'));
    EXPECT_FALSE(element.TraitRecept("!ASP0000"));
    EXPECT_EQ(i, 42);
    EXPECT_EQ(f, 4.2f);
    EXPECT_EQ(element.LitSonde(-1), 0.0f);
    EXPECT_EQ(element.DmdMesure(0), "");
    EXPECT_EQ(element.ConfFerz(1000), "");
    EXPECT_EQ(element.LitConfiguration(1), "");
    EXPECT_EQ(element.NbParam(), 0);
    element.LitMinMax(-7, min, max);
    EXPECT_EQ(min, 1.0f);
    EXPECT_EQ(max, 100.0f);
}

TEST_F(EidElementTest, IsCreatableFromItsArchivedName)
{
    const CRuntimeClass* cls = CRuntimeClass::FromName("CEidElement");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->m_wSchema, 0);
    std::unique_ptr<CObject> object(cls->CreateObject());
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CEidElement)));
}
