#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "SalleSupport.h"
#include "salle/PlaceText.h"

using namespace salle;
using namespace std::chrono_literals;
using salle::test::BenchState;
using salle::test::LevelMeasures;
using salle::test::StationState;

namespace {

const Clock::time_point kStart{std::chrono::hours(1000)};

// Paris: an hour ahead of UTC in December.
class PlaceTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* zone = std::getenv("TZ");
        m_zone = zone ? std::optional<std::string>(zone) : std::nullopt;
        ::setenv("TZ", "Europe/Paris", 1);
        ::tzset();
    }
    void TearDown() override
    {
        if (m_zone)
            ::setenv("TZ", m_zone->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_zone;
};

net::RunEnd CompleteRun()
{
    net::RunEnd run;
    run.startedAt = "2026-12-08T14:02:05.000Z";
    run.time = "2026-12-08T14:04:05.123Z";
    run.outcome = "complet";
    run.finalValue = 20.02;
    run.overshootPct = 4.3;
    run.measureUnit = "cm";
    return run;
}

}  // namespace

TEST_F(PlaceTextTest, TheSilenceIsToldInSecondsMinutesOrHours)
{
    EXPECT_EQ(SilenceText(11s), "Silencieux depuis 11 s");
    EXPECT_EQ(SilenceText(59s), "Silencieux depuis 59 s");
    EXPECT_EQ(SilenceText(125s), "Silencieux depuis 2 min 05 s");
    EXPECT_EQ(SilenceText(3599s), "Silencieux depuis 59 min 59 s");
    EXPECT_EQ(SilenceText(3720s), "Silencieux depuis 1 h 02 min");
}

TEST_F(PlaceTextTest, EachStateHasItsWordAndColour)
{
    struct Case {
        net::PosteActivity activity;
        const char* text;
        COLORREF colour;
    };
    for (const Case& c : {Case{net::PosteActivity::Free, "Libre", RGB(46, 125, 50)},
                          Case{net::PosteActivity::Running, "Essai en cours", RGB(21, 101, 192)},
                          Case{net::PosteActivity::Stopped, "Arr\xEAt\xE9", RGB(230, 81, 0)},
                          Case{net::PosteActivity::Offline, "Hors ligne", RGB(66, 66, 66)}}) {
        EXPECT_STREQ(ActivityText(c.activity), c.text);
        EXPECT_EQ(ActivityColour(c.activity), c.colour) << c.text;
    }
}

TEST_F(PlaceTextTest, TheLinesOfABenchTile)
{
    Room room(10s);
    Place& place = room.Heard({"B101", "pc01"}, BenchState(net::PosteActivity::Running), kStart);
    EXPECT_EQ(NameLine(place), "niveaueau (pid), banc");
    EXPECT_EQ(StateLine(place, std::nullopt), "Essai en cours");
    EXPECT_EQ(StateLine(place, 42s), "Silencieux depuis 42 s");
    EXPECT_EQ(MeasureLine(place), "");
    room.Heard({"B101", "pc01"}, LevelMeasures(18.54), kStart);
    EXPECT_EQ(MeasureLine(place), "Niveau : 18,5 cm");
    EXPECT_EQ(RunLine(place), "");
    room.Heard({"B101", "pc01"}, CompleteRun(), kStart);
    EXPECT_EQ(RunLine(place), "Dernier essai 15:04:05, complet : valeur finale 20,0 cm, d\xE9passement 4,3 %");
    place.runKept = 12;
    EXPECT_EQ(KeptLine(place), "Gard\xE9 sous le n\xB0 12");
    place.runKept = 0;
    place.runNotice = "La base est pleine.";
    EXPECT_EQ(KeptLine(place), "La base est pleine.");
}

TEST_F(PlaceTextTest, AMeasureLeftOutOfTheLastPayloadIsNotShown)
{
    Room room(10s);
    const net::Poste poste{"B101", "pc01"};
    room.Heard(poste, LevelMeasures(18.5), kStart);
    net::Measures withoutLevel;
    withoutLevel.values = {{"Consigne", 20, "cm"}, {"Commande", 42.5, "%"}};
    const Place& place = room.Heard(poste, withoutLevel, kStart + 1s);
    EXPECT_EQ(MeasureLine(place), "");
}

TEST_F(PlaceTextTest, AStationAndAPlaceNotYetKnown)
{
    Room room(10s);
    const Place& station = room.Heard({"B101", "pc06"}, StationState(), kStart);
    EXPECT_EQ(NameLine(station), "Varnok, station");
    EXPECT_EQ(StationLine(station), "");
    net::StationBits bits;
    bits.inputs = {0x25, 0x01};
    bits.outputs = {0x03};
    bits.stateText = "Carte : VARNOK V1.0";
    room.Heard({"B101", "pc06"}, bits, kStart);
    EXPECT_EQ(StationLine(station), "Carte : VARNOK V1.0, entr\xE9" "es 25 01, sorties 03");
    bits.inputs.assign(9, 0xFF);
    bits.stateText.clear();
    room.Heard({"B101", "pc06"}, bits, kStart);
    EXPECT_EQ(StationLine(station), "entr\xE9" "es FF FF FF FF FF FF FF FF..., sorties 03");
    const Place& unknown = room.Unreadable({"B101", "pc07"}, "tarvic/B101/pc07/etat", "sch\xE9ma 2 inconnu");
    EXPECT_EQ(NameLine(unknown), "?");
    EXPECT_EQ(StateLine(unknown, std::nullopt), "Inconnu");
}

TEST_F(PlaceTextTest, ARunWithoutFiguresSaysHowItEnded)
{
    Room room(10s);
    net::RunEnd run = CompleteRun();
    run.outcome = "interrompu";
    run.finalValue.reset();
    run.overshootPct.reset();
    const Place& place = room.Heard({"B101", "pc01"}, run, kStart);
    EXPECT_EQ(RunLine(place), "Dernier essai 15:04:05, interrompu");
}

TEST_F(PlaceTextTest, UtcTimeStampsAreReadInLocalTimeAndNothingElseIs)
{
    EXPECT_EQ(LocalTimeOf("2026-12-08T14:04:05.123Z"), "2026-12-08 15:04:05");
    EXPECT_EQ(LocalTimeOf("2026-07-01T23:30:00.000Z"), "2026-07-02 01:30:00");
    for (const char* wrong : {"", "2026-12-08 14:04:05", "2026-12-08T14:04:05Z", "2026-12-08T14:04:05.123",
                              "2026-12-08T14:04:05.123Z ", "2026-12-08T14:04:05.123+01:00"})
        EXPECT_EQ(LocalTimeOf(wrong), "") << wrong;
}
