#include <gtest/gtest.h>

#include <chrono>

#include "runtime/Scenario.h"
#include "runtime/StationCard.h"
#include "tarvic/platform/Text.h"

using namespace cardsim;
using namespace std::chrono_literals;

namespace {

StationCard Card(const char* station) { return StationCard(*FindStation(station)); }

bool Lit(const std::vector<int>& inputs, const IoBit& bit)
{
    return inputs[static_cast<std::size_t>(bit.byte)] >> bit.bit & 1;
}

// The output line that turns these output bits on.
std::string Outputs(const Station& station, std::initializer_list<IoBit> bits)
{
    std::vector<int> bytes(static_cast<std::size_t>(station.outputBytes), 0);
    for (const IoBit& bit : bits) bytes[static_cast<std::size_t>(bit.byte)] |= 1 << bit.bit;
    std::string line = "!ESR ";
    for (const int byte : bytes) line += tarvic::Format("%2.2X", byte);
    return line;
}

SimDuration Seconds(double s) { return std::chrono::duration_cast<SimDuration>(std::chrono::duration<double>(s)); }

// A sensor, when the actuator has one, lit or not.
void ExpectSensor(const StationCard& card, const std::optional<IoBit>& sensor, bool lit, const std::string& what)
{
    if (!sensor) return;
    EXPECT_EQ(Lit(card.Inputs(), *sensor), lit) << what;
}

}  // namespace

TEST(StationCard, AnswersThePanelCommandsOfEveryStation)
{
    for (const auto& station : Stations()) {
        StationCard card(station);
        EXPECT_EQ(card.Execute("?VER"), "!VER CARDSIM 1.0") << station.name;
        EXPECT_EQ(card.Execute("?ARU"), "!ARU 00") << station.name;
        EXPECT_EQ(card.Execute("!EMD 1"), "!OK") << station.name;
        EXPECT_EQ(card.Execute("!EMD 0"), "!OK") << station.name;
        EXPECT_EQ(card.Execute("!EMD 2"), "!Erreur") << station.name;
        EXPECT_EQ(card.Execute("?XYZ"), "!Erreur") << station.name;
        EXPECT_EQ(card.Execute("!VER"), "!Erreur") << station.name;  // a query sent as an order
        EXPECT_EQ(card.Execute(""), "!Erreur") << station.name;
    }
}

TEST(StationCard, InputRepliesHaveEachStationsLayout)
{
    // Each machine at power-up: the sensors of where its actuators stand.
    EXPECT_EQ(Card("brakmor").Execute("?LEL"), "!LEL00005510");  // X, Y, Z, M in; gripper horizontal
    EXPECT_EQ(Card("varnok").Execute("?LEL"), "!LELA902 01");    // away from origin: state 1
    EXPECT_EQ(Card("quillon").Execute("?LEL"), "!LELA00000");    // a2b, a3b
    EXPECT_EQ(Card("torvane").Execute("?LEL"), "!LEL3800");      // ai0, ai1, ai2
}

TEST(StationCard, OutputOrdersTakeExactlyTheStationsByteCount)
{
    auto brakmor = Card("brakmor");
    EXPECT_EQ(brakmor.Execute("!ESR 010000"), "!OK");
    EXPECT_EQ(brakmor.Outputs(), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(brakmor.Execute("!ESR 0100"), "!Erreur");
    EXPECT_EQ(brakmor.Execute("!ESR 01000000"), "!Erreur");
    EXPECT_EQ(brakmor.Execute("!ESR 01G000"), "!Erreur");
    EXPECT_EQ(brakmor.Outputs(), (std::vector<int>{1, 0, 0}));
    auto torvane = Card("torvane");
    EXPECT_EQ(torvane.Execute("!ESR 11"), "!OK");
    EXPECT_EQ(torvane.Outputs(), std::vector<int>{0x11});
}

TEST(StationCard, EveryActuatorReachesItsSensorAfterItsTravel)
{
    for (const Station& station : Stations())
        for (const ActuatorRow& actuator : station.machine.actuators) {
            const std::string what = station.name + " " + actuator.name;
            StationCard card(station);
            // From its home end: drive it out, then back.
            if (actuator.startsForward) {
                card.Execute(Outputs(station, {*actuator.backward}));
                card.Advance(Seconds(actuator.travel));
            }
            ASSERT_EQ(card.Execute(Outputs(station, {*actuator.forward})), "!OK") << what;
            card.Advance(1us);
            ExpectSensor(card, actuator.backwardSensor, false, what);  // off as soon as it leaves
            if (actuator.travel > 0) {
                card.Advance(Seconds(actuator.travel) - 2us);
                ExpectSensor(card, actuator.forwardSensor, false, what);
            }
            card.Advance(Seconds(actuator.travel));
            ExpectSensor(card, actuator.forwardSensor, true, what);
            // Back: a double-acting one by its other output, a single-acting one when its output drops.
            card.Execute(Outputs(station, actuator.backward ? std::initializer_list<IoBit>{*actuator.backward}
                                                            : std::initializer_list<IoBit>{}));
            card.Advance(1us);
            ExpectSensor(card, actuator.forwardSensor, false, what);
            card.Advance(Seconds(actuator.travel));
            ExpectSensor(card, actuator.backwardSensor, true, what);
        }
}

TEST(StationCard, ConflictingOrdersStopTheActuatorWhereItIs)
{
    const Station& brakmor = *FindStation("brakmor");
    StationCard card(brakmor);
    const ActuatorRow& x = brakmor.machine.actuators[0];
    card.Execute(Outputs(brakmor, {*x.forward}));
    card.Advance(400ms);
    card.Execute(Outputs(brakmor, {*x.forward, *x.backward}));  // X+ and X- together
    card.Advance(5s);
    EXPECT_FALSE(Lit(card.Inputs(), *x.forwardSensor));
    EXPECT_FALSE(Lit(card.Inputs(), *x.backwardSensor));
    card.Execute(Outputs(brakmor, {*x.forward}));
    card.Advance(600ms);  // the rest of its travel
    EXPECT_TRUE(Lit(card.Inputs(), *x.forwardSensor));
    EXPECT_FALSE(Lit(card.Inputs(), *x.backwardSensor));
}

TEST(StationCard, VarnokRegainsItsOriginInTwoSteps)
{
    auto card = Card("varnok");
    EXPECT_EQ(card.Execute("!ESR 1440"), "!OK");  // TH, TR, PO
    card.Advance(1s);
    EXPECT_EQ(card.Execute("?LEL").substr(8), " 01");  // the translation is still on its way back
    card.Advance(200ms);
    EXPECT_EQ(card.Execute("?LEL"), "!LEL9501 02");  // haut, ar, po: next, the arm and the press
    EXPECT_EQ(card.Execute("!ESR 8100"), "!OK");     // BD, PH
    card.Advance(2s);
    EXPECT_EQ(card.Execute("?LEL"), "!LEL5601 00");  // at origin: normal operation
    EXPECT_EQ(card.Execute("!ESR 2000"), "!OK");     // TB: leaving the origin is normal work
    card.Advance(1s);
    EXPECT_EQ(card.Execute("?LEL").substr(8), " 00");
}

TEST(StationCard, EmergencyStopFreezesTheMachineUntilReArmed)
{
    auto card = Card("varnok");
    card.Execute("!ESR 0800");  // TV is on already: the translation stays forward; BD below
    card.Execute("!ESR 8000");  // BD: the arm turns right
    card.Advance(500ms);
    EXPECT_EQ(card.Control("aru"), "");
    EXPECT_EQ(card.Execute("?LEL"), "!LELA8C2 01");  // aru and e_aru; the arm between its sensors
    card.Advance(5s);
    EXPECT_EQ(card.Execute("?LEL"), "!LELA8C2 01");  // frozen
    EXPECT_EQ(card.Control("rearme"), "");
    card.Advance(1s);
    EXPECT_EQ(card.Execute("?LEL"), "!LELAA02 01");  // on again: the arm reached bd; origin to regain
    auto brakmor = Card("brakmor");
    brakmor.Control("aru");
    EXPECT_EQ(brakmor.Execute("?ARU"), "!ARU 01");
    EXPECT_EQ(brakmor.Execute("?LEL"), "!LEL00015510");
}

TEST(StationCard, OperatorInputsAndTheirErrors)
{
    auto card = Card("brakmor");
    EXPECT_EQ(card.Control("appui dcy"), "");
    EXPECT_EQ(card.Control("appui v+"), "");
    EXPECT_EQ(card.Execute("?LEL"), "!LEL48005510");
    EXPECT_EQ(card.Control("relache dcy"), "");
    EXPECT_EQ(card.Execute("?LEL"), "!LEL08005510");
    EXPECT_EQ(card.Control("appui bouton"), "entr\xE9" "e inconnue : bouton");
    EXPECT_EQ(card.Control("appui X rentr\xE9"), "entr\xE9" "e inconnue : X rentr\xE9");  // a sensor is the machine's
    EXPECT_EQ(card.Control("saute"), "ordre inconnu : saute");
    EXPECT_EQ(card.Control("appui"), "ordre inconnu : appui");
}

TEST(StationCard, ScenarioOrdersFallAtTheirTimes)
{
    std::string error;
    const auto scenario = ParseScenario("# a cycle start\n0.5 appui dcy\n\n 1.0\trelache dcy\r\n3 aru\n", error);
    ASSERT_TRUE(scenario.has_value()) << error;
    ASSERT_EQ(scenario->size(), 3u);
    EXPECT_EQ((*scenario)[1], (std::pair<SimDuration, std::string>{1s, "relache dcy"}));
    auto card = Card("brakmor");
    for (const auto& [at, order] : *scenario) card.Schedule(at, order);
    card.Advance(499ms);
    EXPECT_EQ(card.Execute("?LEL"), "!LEL00005510");
    card.Advance(1ms);
    EXPECT_EQ(card.Execute("?LEL"), "!LEL40005510");  // dcy pressed at 0.5 s
    card.Advance(1s);
    EXPECT_EQ(card.Execute("?LEL"), "!LEL00005510");  // released at 1 s
    card.Advance(1500ms);
    EXPECT_EQ(card.Execute("?LEL"), "!LEL00015510");  // the emergency stop at 3 s

    for (const char* bad : {"x appui dcy\n", "1.5\n", "-1 aru\n", "2appui dcy\n", "nan aru\n"}) {
        EXPECT_FALSE(ParseScenario(bad, error).has_value()) << bad;
        EXPECT_EQ(error.rfind("ligne 1 : ", 0), 0u) << bad;
    }
}
