#include <gtest/gtest.h>

#include <memory>

#include "BancTestSupport.h"
#include "engine/lab/StoredModel.h"
#include "support/TraceCapture.h"

using namespace banc;
using analysis::ModelKind;
using analysis::ProcessModel;

namespace {

// The air flow bench's temperature from its heater, identified in open loop.
class StoredModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings = banc::test::MakeSettings("debitair", "bo");
        m_settings.command = FindCommand(*m_settings.bench, "chauffage");
        m_settings.measure = FindMeasure(*m_settings.bench, "temperature");
        ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    std::string Entry(const char* name) { return m_profile.GetProfileString("D_MODELE_temperature", name, "?"); }
    void SetEntry(const char* name, const char* value)
    {
        m_profile.WriteProfileString("D_MODELE_temperature", name, value);
    }

    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
    tarvic::MemoryProfile m_profile;
};

const ProcessModel kFirstOrder{ModelKind::FirstOrderDelay, 2.0 / 3, 20.25, 1.5, 1};

// A store that takes nothing.
class FullStore : public tarvic::Profile {
public:
    std::string GetProfileString(const std::string&, const std::string&, const std::string& value) override
    {
        return value;
    }
    bool WriteProfileString(const std::string&, const std::string&, const std::string&) override { return false; }
};

void ExpectSame(const std::optional<ProcessModel>& loaded, const ProcessModel& model)
{
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->kind, model.kind);
    EXPECT_EQ(loaded->gain, model.gain);
    EXPECT_EQ(loaded->timeConstant, model.timeConstant);
    EXPECT_EQ(loaded->delay, model.delay);
    EXPECT_EQ(loaded->order, model.order);
}

}  // namespace

TEST_F(StoredModelTest, AModelIsKeptInTheBenchsSectionOfItsMeasuredQuantity)
{
    ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, kFirstOrder));
    EXPECT_EQ(Entry("TYPE"), "premier_ordre_retard");
    EXPECT_EQ(Entry("GAIN"), "0.66666666666666663");
    EXPECT_EQ(Entry("CONSTANTE_TEMPS"), "20.25");
    EXPECT_EQ(Entry("RETARD"), "1.5");
    EXPECT_EQ(Entry("ORDRE"), "1");
    EXPECT_EQ(Entry("COMMANDE"), "chauffage");
    EXPECT_EQ(Entry("UNITE"), "%");
}

TEST_F(StoredModelTest, EveryKindOfModelComesBackExactly)
{
    for (const ProcessModel& model : {kFirstOrder, ProcessModel{ModelKind::Strejc, 1.25, 61.5, 0.75, 2},
                                      ProcessModel{ModelKind::Integrating, -0.0123, 0, 0.3, 1}}) {
        ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, model));
        ExpectSame(LoadModel(m_profile, m_settings, m_elements), model);
    }
}

TEST_F(StoredModelTest, AClosedLoopOnTheSameQuantityAndCommandFindsIt)
{
    ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, kFirstOrder));
    Settings loop = banc::test::MakeSettings("debitair", "pid");
    loop.command = m_settings.command;
    loop.measure = m_settings.measure;
    ExpectSame(LoadModel(m_profile, loop, m_elements), kFirstOrder);
}

TEST_F(StoredModelTest, NoModelIsFoundForAnotherQuantityOrCommand)
{
    ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, kFirstOrder));
    Settings flow = m_settings;
    flow.measure = FindMeasure(*m_settings.bench, "debit");
    EXPECT_FALSE(LoadModel(m_profile, flow, m_elements).has_value());
    Settings fan = m_settings;
    fan.command = FindCommand(*m_settings.bench, "debit");
    EXPECT_FALSE(LoadModel(m_profile, fan, m_elements).has_value());
}

TEST_F(StoredModelTest, AMissingModelIsNone) { EXPECT_FALSE(LoadModel(m_profile, m_settings, m_elements).has_value()); }

TEST_F(StoredModelTest, ADamagedEntryGivesNoModel)
{
    struct Damage {
        const char* entry;
        const char* value;
    };
    const Damage damages[] = {
        {"TYPE", ""},
        {"TYPE", "premier_ordre"},
        {"GAIN", "abc"},
        {"GAIN", "0.5x"},
        {"GAIN", ""},
        {"GAIN", "nan"},
        {"GAIN", "inf"},
        {"GAIN", "0"},
        {"CONSTANTE_TEMPS", "-2"},
        {"CONSTANTE_TEMPS", "0"},
        {"RETARD", "-0.1"},
        {"RETARD", "1,5"},
        {"ORDRE", "2"},
        {"ORDRE", "1.5"},
        {"UNITE", "tr/min"},
        {"COMMANDE", ""},
    };
    for (const Damage& damage : damages) {
        ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, kFirstOrder));
        SetEntry(damage.entry, damage.value);
        EXPECT_FALSE(LoadModel(m_profile, m_settings, m_elements).has_value()) << damage.entry << "=" << damage.value;
    }
}

TEST_F(StoredModelTest, AStrejcModelNeedsAnOrderOfTheTableAndAnIntegratorNoTimeConstant)
{
    ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, {ModelKind::Strejc, 1.25, 61.5, 0.75, 11}));
    EXPECT_FALSE(LoadModel(m_profile, m_settings, m_elements).has_value());
    ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, {ModelKind::Strejc, 1.25, 61.5, 0.75, 0}));
    EXPECT_FALSE(LoadModel(m_profile, m_settings, m_elements).has_value());
    ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, {ModelKind::Integrating, 0.5, 3, 0.3, 1}));
    EXPECT_FALSE(LoadModel(m_profile, m_settings, m_elements).has_value());
}

TEST_F(StoredModelTest, ASaveCutShortLeavesNoModel)
{
    // The save clears TYPE first: cut short after it, the entries are a mix of two models.
    ASSERT_TRUE(SaveModel(m_profile, m_settings, m_elements, kFirstOrder));
    SetEntry("TYPE", "");
    SetEntry("GAIN", "5");
    EXPECT_FALSE(LoadModel(m_profile, m_settings, m_elements).has_value());
}

TEST_F(StoredModelTest, AStoreThatRefusesTheWritesSaysSo)
{
    FullStore full;
    EXPECT_FALSE(SaveModel(full, m_settings, m_elements, kFirstOrder));
    EXPECT_FALSE(LoadModel(full, m_settings, m_elements).has_value());
}
