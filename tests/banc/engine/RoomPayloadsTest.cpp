#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <memory>
#include <string>

#include "BancTestSupport.h"
#include "engine/publish/LiveMeasures.h"
#include "engine/publish/RunEndPayload.h"
#include "engine/run/Setup.h"

namespace banc::test {
namespace {

using publish::LiveMeasures;

class LiveValuesForTheRoom : public ::testing::Test {
protected:
    LiveMeasures For(const char* bench, const char* mode)
    {
        m_settings = MakeSettings(bench, mode);
        EXPECT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
        return LiveMeasures(m_settings, m_elements);
    }
    static std::string Listed(const net::Measures& measures)
    {
        std::string list;
        for (const net::Measure& measure : measures.values)
            list += measure.name + "=" + std::to_string(measure.value) + " " + measure.unit + ";";
        return list;
    }

    Settings m_settings;
    Elements m_elements;
};

TEST_F(LiveValuesForTheRoom, SetpointLoopMeasureCommandThenTheOtherQuantities)
{
    const LiveMeasures live = For("niveaueau", "pid");
    LiveValues values;
    values.hasSetpoint = true;
    values.setpoint = 50;
    values.measure = 48.5f;
    values.command = 62.25f;
    values.measures = {48.5f, 12, 70};  // niveau 1, niveau 2, the pump's flow
    EXPECT_EQ(Listed(live.Of(values)),
              "Consigne=50.000000 %;Niveau 1=48.500000 %;Commande=62.250000 %;Niveau 2=12.000000 %;"
              "D\xE9" "bit de la pompe=70.000000 %;");
}

TEST_F(LiveValuesForTheRoom, AnOpenLoopHasNoSetpoint)
{
    const LiveMeasures live = For("niveaueau", "bo");
    LiveValues values;
    values.measure = 30;
    values.command = 40;
    values.measures = {30, 5, 40};
    EXPECT_EQ(Listed(live.Of(values)),
              "Niveau 1=30.000000 %;Commande=40.000000 %;Niveau 2=5.000000 %;D\xE9" "bit de la pompe=40.000000 %;");
}

TEST_F(LiveValuesForTheRoom, AValueThatIsNoNumberIsLeftOut)
{
    const LiveMeasures live = For("niveaueau", "pid");
    LiveValues values;
    values.hasSetpoint = true;
    values.setpoint = std::numeric_limits<float>::quiet_NaN();
    values.measure = 48;
    values.command = std::numeric_limits<float>::infinity();
    values.measures = {48, 12, std::numeric_limits<float>::quiet_NaN()};
    EXPECT_EQ(Listed(live.Of(values)), "Niveau 1=48.000000 %;Niveau 2=12.000000 %;");
}

TEST_F(LiveValuesForTheRoom, AValueKeepsItsOwnDigitsNotTheWideningsTail)
{
    const LiveMeasures live = For("niveaueau", "bo");
    LiveValues values;
    values.measure = 18.3f;
    values.command = 0.1f;
    const net::Measures measures = live.Of(values);
    ASSERT_EQ(measures.values.size(), 2u);
    EXPECT_EQ(measures.values[0].value, 18.3);
    EXPECT_EQ(measures.values[1].value, 0.1);
    EXPECT_NE(static_cast<double>(18.3f), 18.3);
}

// Central European time, summer time from the last Sunday of March to the last of October.
class InParis : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* zone = std::getenv("TZ")) m_zone = zone;
        m_hadZone = std::getenv("TZ") != nullptr;
        ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        ::tzset();
    }
    void TearDown() override
    {
        if (m_hadZone)
            ::setenv("TZ", m_zone.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

    std::string m_zone;
    bool m_hadZone = false;
};

TEST_F(InParis, LocalTimeBecomesUtcWinterAndSummer)
{
    EXPECT_EQ(publish::UtcOfLocal("2026-12-08 15:04:05"), "2026-12-08T14:04:05.000Z");
    EXPECT_EQ(publish::UtcOfLocal("2026-07-01 00:30:00"), "2026-06-30T22:30:00.000Z");
    EXPECT_EQ(publish::UtcOfLocal("2027-01-01 00:59:59"), "2026-12-31T23:59:59.000Z");
}

TEST_F(InParis, WhatIsNoLocalTimeGivesNothing)
{
    EXPECT_EQ(publish::UtcOfLocal(""), "");
    EXPECT_EQ(publish::UtcOfLocal("2026-12-08"), "");
    EXPECT_EQ(publish::UtcOfLocal("2026-12-08T15:04:05Z"), "");
    EXPECT_EQ(publish::UtcOfLocal("2026-12-08 15:04:05 et plus"), "");
}

TEST_F(InParis, TheRunsEndIsWhatTheHistoryKept)
{
    history::StoredRun run;
    run.number = 7;
    run.startedAt = "2026-12-08 15:02:05";
    run.user = "\xE9lodie";
    run.host = "pc07";
    run.bench = "niveaueau";
    run.mode = "pid";
    run.summary = "PID K1= 2.00";
    run.card = "cardsim";
    run.outcome = history::RunOutcome::CardFault;
    run.outcomeText = "La carte ne r\xE9pond plus.";
    run.finalValue = 49.5;
    run.measureUnit = "%";
    run.resultsJson = "{}\n";
    run.comment = "jamais publi\xE9";
    run.archive = std::string("\0\1\2", 3);
    const net::RunEnd end = publish::RunEndOf(run, "2026-12-08T14:04:05.123Z");
    EXPECT_EQ(end.number, 7);
    EXPECT_EQ(end.startedAt, "2026-12-08T14:02:05.000Z");
    EXPECT_EQ(end.time, "2026-12-08T14:04:05.123Z");
    EXPECT_EQ(end.user, "\xE9lodie");
    EXPECT_EQ(end.bench, "niveaueau");
    EXPECT_EQ(end.mode, "pid");
    EXPECT_EQ(end.settings, "PID K1= 2.00");
    EXPECT_EQ(end.outcome, "d\xE9" "faut de carte");
    EXPECT_EQ(end.outcomeText, "La carte ne r\xE9pond plus.");
    EXPECT_EQ(end.finalValue, 49.5);
    EXPECT_FALSE(end.overshootPct.has_value());
    EXPECT_EQ(end.measureUnit, "%");
    EXPECT_EQ(end.resultsJson, "{}\n");
    EXPECT_EQ(end.archive, std::string("\0\1\2", 3));
}

}  // namespace
}  // namespace banc::test
