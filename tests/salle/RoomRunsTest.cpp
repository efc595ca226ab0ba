#include <gtest/gtest.h>

#include <cstdlib>

#include "BancTestSupport.h"
#include "HistorySupport.h"
#include "SalleSupport.h"
#include "engine/history/RunHistory.h"
#include "engine/outputs/RecordingArchive.h"
#include "salle/RunKeeping.h"
#include "support/TraceCapture.h"

using namespace salle;
using banc::history::RunOutcome;
using banc::history::StoredRun;

namespace {

// A water level run that ended on a card fault, as a bench publishes its end.
net::RunEnd CardFaultRun(const banc::test::WaterLevelRun& recorded)
{
    net::RunEnd run = salle::test::PublishedRun(recorded);
    run.outcome = "d\xE9" "faut de carte";
    run.outcomeText = "La carte ne r\xE9pond plus.";
    run.overshootPct.reset();
    run.resultsJson = "{\"banc\":\"niveaueau\"}";
    return run;
}

class RoomRunsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    void TearDown() override
    {
        ::unsetenv("TZ");
        ::tzset();
    }
    tarvic::test::TraceCapture m_quiet;
    banc::test::TemporaryFolder m_folder;
    banc::test::WaterLevelRun m_recorded{2, banc::test::RampWithOvershoot};
};

}  // namespace

TEST_F(RoomRunsTest, ARunHeardIsKeptTaggedWithItsRoomPlaceAndUser)
{
    StoredRun stored;
    ASSERT_EQ(MakeRoomRun({"B101", "pc07"}, CardFaultRun(m_recorded), "cardsim 1.0", stored), "");
    EXPECT_EQ(stored.startedAt, "2026-12-08 14:02:05");
    EXPECT_EQ(stored.user, "\xC9lodie");
    EXPECT_EQ(stored.host, "pc07");
    EXPECT_EQ(stored.room, "B101");
    EXPECT_EQ(stored.origin, "2026-12-08T14:02:05.000Z/2026-12-08T14:04:05.123Z");
    EXPECT_EQ(stored.bench, "niveaueau");
    EXPECT_EQ(stored.mode, "pid");
    EXPECT_EQ(stored.summary, "PID K1= 2.00, Ti= 20.00 s");
    EXPECT_EQ(stored.card, "cardsim 1.0");
    EXPECT_EQ(stored.outcome, RunOutcome::CardFault);
    EXPECT_EQ(stored.outcomeText, "La carte ne r\xE9pond plus.");
    EXPECT_EQ(stored.finalValue, 49.5);
    EXPECT_FALSE(stored.overshootPct);
    EXPECT_EQ(stored.measureUnit, "%");
    EXPECT_EQ(stored.resultsJson, "{\"banc\":\"niveaueau\"}");
    EXPECT_EQ(stored.archive, banc::ArchiveBytes(m_recorded.settings, m_recorded.elements));
}

TEST_F(RoomRunsTest, ARunOfNoKnownOutcomeOrWithoutReadableCurvesIsNotKept)
{
    net::RunEnd unknown = CardFaultRun(m_recorded);
    unknown.outcome = "parfait";
    StoredRun stored;
    EXPECT_EQ(MakeRoomRun({"B101", "pc07"}, unknown, "", stored),
              "L'issue de l'essai de pc07 est inconnue (parfait) : il n'est pas gard\xE9.");
    net::RunEnd damaged = CardFaultRun(m_recorded);
    damaged.archive = "TARVIC";
    const std::string error = MakeRoomRun({"B101", "pc07"}, damaged, "", stored);
    banc::LoadedExperiment loaded;
    const std::string reason = banc::LoadArchiveBytes("TARVIC", "l'archive de l'essai de pc07", loaded);
    ASSERT_NE(reason, "");
    EXPECT_EQ(error, reason + " Il n'est pas gard\xE9.");
    EXPECT_EQ(stored.bench, "");
}

TEST_F(RoomRunsTest, TheRoomsBaseIsApartFromTheConsolesInTheUsersDataFolder)
{
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string saved = data ? data : "";
    ::setenv("XDG_DATA_HOME", m_folder.Path().c_str(), 1);
    EXPECT_EQ(RoomHistoryPath(), m_folder.File("tarvic/salle.sqlite"));
    EXPECT_EQ(banc::history::RunHistory::DefaultPath(), m_folder.File("tarvic/essais.sqlite"));
    // Its folder is made on a fresh account, as the console's.
    banc::history::RunHistory history;
    EXPECT_EQ(history.Open(RoomHistoryPath()), "");
    if (data)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}
