#include <gtest/gtest.h>

#include "SalleSupport.h"
#include "salle/Room.h"

using namespace salle;
using namespace std::chrono_literals;
using salle::test::BenchState;
using salle::test::LevelMeasures;
using salle::test::StationState;

namespace {

const Clock::time_point kStart{std::chrono::hours(1000)};

std::vector<std::string> Names(const Room& room)
{
    std::vector<std::string> names;
    for (const auto& [key, place] : room.Places()) names.push_back(key.first + "/" + key.second);
    return names;
}

}  // namespace

TEST(RoomTest, PlacesAreKeptByRoomThenPlace)
{
    Room room(10s);
    room.Heard({"B102", "pc02"}, BenchState(net::PosteActivity::Free), kStart);
    room.Heard({"B101", "pc09"}, LevelMeasures(18.5), kStart);
    room.Heard({"B101", "pc01"}, StationState(), kStart);
    EXPECT_EQ(Names(room), (std::vector<std::string>{"B101/pc01", "B101/pc09", "B102/pc02"}));
    const Place* place = room.Find({"B101", "pc09"});
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->poste.salle, "B101");
    EXPECT_EQ(place->poste.poste, "pc09");
    EXPECT_FALSE(place->state);
    EXPECT_EQ(room.Find({"B101", "pc03"}), nullptr);
}

TEST(RoomTest, ARunningBenchQuietBeyondTheSilenceIsSilentForTheTimeSinceItWasHeard)
{
    Room room(10s);
    const net::Poste poste{"B101", "pc01"};
    room.Heard(poste, BenchState(net::PosteActivity::Running), kStart);
    room.Heard(poste, LevelMeasures(18.5), kStart + 2s);
    const Place& place = *room.Find(poste);
    EXPECT_FALSE(room.SilentFor(place, kStart + 12s));
    EXPECT_EQ(room.SilentFor(place, kStart + 12s + 1ms), 10s);
    EXPECT_EQ(room.SilentFor(place, kStart + 75s), 73s);
    room.Heard(poste, LevelMeasures(18.7), kStart + 75s);
    EXPECT_FALSE(room.SilentFor(place, kStart + 80s));
}

TEST(RoomTest, TheSilenceAllowedIsTheOneGiven)
{
    Room room(30s);
    const net::Poste poste{"B101", "pc01"};
    const Place& place = room.Heard(poste, BenchState(net::PosteActivity::Running), kStart);
    EXPECT_FALSE(room.SilentFor(place, kStart + 30s));
    EXPECT_EQ(room.SilentFor(place, kStart + 31s), 31s);
}

TEST(RoomTest, OnlyARunningBenchIsExpectedToReport)
{
    Room room(10s);
    const net::Poste free{"B101", "pc01"}, stopped{"B101", "pc02"}, gone{"B101", "pc03"}, station{"B101", "pc04"},
        unknown{"B101", "pc05"};
    room.Heard(free, BenchState(net::PosteActivity::Free), kStart);
    room.Heard(stopped, BenchState(net::PosteActivity::Stopped), kStart);
    room.Heard(gone, BenchState(net::PosteActivity::Offline), kStart);
    net::PosteState polling = StationState();
    polling.activity = net::PosteActivity::Running;
    room.Heard(station, polling, kStart);
    room.Heard(unknown, LevelMeasures(3), kStart);
    for (const auto& [key, place] : room.Places()) EXPECT_FALSE(room.SilentFor(place, kStart + 1h)) << key.second;
}

TEST(RoomTest, TheTrendsReachFiveMinutesBackAndTheMainOneIsTheMeasurement)
{
    Room room(10s);
    const net::Poste poste{"B101", "pc01"};
    room.Heard(poste, LevelMeasures(10), kStart);
    room.Heard(poste, LevelMeasures(11), kStart + 200s);
    room.Heard(poste, LevelMeasures(12), kStart + 300s);
    const Place& place = room.Heard(poste, LevelMeasures(13), kStart + 300s + 1ms);
    ASSERT_EQ(place.trends.size(), 3u);
    EXPECT_EQ(place.trends[0].name, "Consigne");
    EXPECT_EQ(place.trends[2].unit, "%");
    const Trend* main = MainTrend(place);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->name, "Niveau");
    EXPECT_EQ(main->unit, "cm");
    // The first point is more than five minutes old by the last.
    ASSERT_EQ(main->points.size(), 3u);
    EXPECT_EQ(main->points[0].value, 11);
    EXPECT_EQ(main->points[0].at, kStart + 200s);
    EXPECT_EQ(main->points[2].value, 13);
}

TEST(RoomTest, AnOpenLoopRunsMainTrendIsItsFirstOtherThanTheCommand)
{
    Room room(10s);
    net::Measures measures;
    measures.values = {{"Commande", 40, "%"}, {"Vitesse", 1200, "tr/min"}};
    const Place& place = room.Heard({"B101", "pc01"}, measures, kStart);
    EXPECT_EQ(MainTrend(place)->name, "Vitesse");
    measures.values = {{"Commande", 40, "%"}};
    const Place& command = room.Heard({"B101", "pc02"}, measures, kStart);
    EXPECT_EQ(MainTrend(command)->name, "Commande");
    EXPECT_EQ(MainTrend(*room.Find({"B101", "pc02"}))->points.size(), 1u);
}

TEST(RoomTest, AFloodingPlaceIsKeptWithinItsBounds)
{
    Room room(10s);
    const net::Poste poste{"B101", "pc01"};
    net::Measures many;
    for (int i = 0; i < 12; ++i) many.values.push_back({"M" + std::to_string(i), double(i), ""});
    for (int i = 0; i < 2000; ++i) room.Heard(poste, many, kStart + std::chrono::milliseconds(i));
    const Place& place = *room.Find(poste);
    ASSERT_EQ(place.trends.size(), kMaxTrends);
    EXPECT_EQ(place.trends.back().name, "M7");
    EXPECT_EQ(place.trends.front().points.size(), kTrendPoints);
    EXPECT_EQ(place.trends.front().points.front().at, kStart + std::chrono::milliseconds(2000 - 600));
}

TEST(RoomTest, AnUnreadablePayloadIsShownWithoutTakingThePlaceAsHeard)
{
    Room room(10s);
    const net::Poste poste{"B101", "pc01"};
    room.Heard(poste, BenchState(net::PosteActivity::Running), kStart);
    const Place& place = room.Unreadable(poste, "tarvic/B101/pc01/mesures", "ce n'est pas du JSON");
    EXPECT_EQ(place.unreadable, "tarvic/B101/pc01/mesures : ce n'est pas du JSON");
    EXPECT_EQ(place.heard, kStart);
    EXPECT_FALSE(place.measures);
    EXPECT_EQ(room.SilentFor(place, kStart + 11s), 11s);
}

TEST(RoomTest, ANewRunForgetsWhereTheLastOneWasKept)
{
    Room room(10s);
    const net::Poste poste{"B101", "pc01"};
    Place& place = room.Heard(poste, net::RunEnd{}, kStart);
    place.runKept = 4;
    place.runNotice = "ancien";
    room.Heard(poste, net::RunEnd{}, kStart + 1s);
    EXPECT_EQ(place.runKept, 0);
    EXPECT_EQ(place.runNotice, "");
}
