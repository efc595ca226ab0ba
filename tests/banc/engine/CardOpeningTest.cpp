#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <cerrno>

#include <fstream>
#include <string>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "engine/link/CardOpening.h"
#include "support/ScriptedCard.h"
#include "support/TraceCapture.h"

using namespace std::chrono_literals;
using banc::CardPlace;
using banc::EmbeddedCard;
using banc::OpenCard;

namespace {

CardPlace Simulated(const std::string& program)
{
    CardPlace place;
    place.card = {program, "niveaueau", 50, std::nullopt, std::nullopt};
    place.timing = {1500ms, 2};
    return place;
}

CardPlace OnPort(const std::string& port)
{
    CardPlace place;
    place.simulated = false;
    place.port = port;
    return place;
}

}  // namespace

TEST(CardOpening, TheSimulatedCardIsStartedAndTheLinkOpenedOnItsTerminal)
{
    tarvic::test::TraceCapture quiet;
    EmbeddedCard card;
    const banc::OpenedCard opened = OpenCard(Simulated(EmbeddedCard::Locate("")), card);
    ASSERT_NE(opened.link, nullptr) << opened.error;
    EXPECT_EQ(opened.error, "");
    EXPECT_EQ(opened.link->Port(), card.Path());
    EXPECT_EQ(card.Path().rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(opened.link->GetTiming().reply, 1500ms);
    EXPECT_EQ(opened.link->GetTiming().attempts, 2);
    EXPECT_EQ(opened.link->Exchange('?', "AEBC").line.substr(0, 5), "!AEBC");
}

TEST(CardOpening, ASimulatedCardThatCannotBeFoundIsSaidSo)
{
    EmbeddedCard card;
    const banc::OpenedCard opened = OpenCard(Simulated("/absent/cardsim"), card);
    EXPECT_EQ(opened.link, nullptr);
    EXPECT_EQ(opened.error,
              "Carte simul\xE9" "e introuvable (/absent/cardsim) : construisez cardsim ou donnez son "
              "chemin dans TARVIC_CARDSIM.");
    EXPECT_FALSE(opened.mayComeBack);
}

TEST(CardOpening, ASimulatedCardWhoseTerminalDoesNotOpenIsStoppedAgain)
{
    tarvic::test::TraceCapture quiet;
    banc::test::TemporaryFolder folder;
    // A card that names a terminal that is not there, then waits to be stopped.
    const std::string program = folder.File("carte");
    const std::string terminal = folder.File("absent");
    const std::string pidFile = folder.File("pid");
    std::ofstream(program) << "#!/bin/sh\necho $$ > " << pidFile << "\necho " << terminal << "\nexec sleep 60\n";
    ASSERT_EQ(::chmod(program.c_str(), 0700), 0);
    EmbeddedCard card;
    const banc::OpenedCard opened = OpenCard(Simulated(program), card);
    EXPECT_EQ(opened.link, nullptr);
    EXPECT_EQ(opened.error, "La carte simul\xE9" "e ne s'ouvre pas sur " + terminal + ".");
    EXPECT_FALSE(opened.mayComeBack);
    const pid_t pid = std::stoi(banc::test::ReadFile(pidFile));
    EXPECT_EQ(::kill(pid, 0), -1);  // stopped and reaped
    EXPECT_EQ(errno, ESRCH);
}

TEST(CardOpening, ACardOnAPortIsOpenedWithoutStartingTheSimulatedOne)
{
    tarvic::test::TraceCapture quiet;
    tarvic::test::ScriptedCard scripted([](const std::string& line) { return banc::test::CardAnswer(line); });
    EmbeddedCard card;
    const banc::OpenedCard opened = OpenCard(OnPort(scripted.Path()), card);
    ASSERT_NE(opened.link, nullptr) << opened.error;
    EXPECT_EQ(card.Path(), "");
    EXPECT_EQ(opened.link->Exchange('?', "AEBC").line, "!AEBC033303330333");
    EXPECT_EQ(scripted.Lines(), std::vector<std::string>{"?AEBC"});
}

TEST(CardOpening, APortThatCannotBeOpenedSaysWhyAndWhetherToTryAgain)
{
    tarvic::test::TraceCapture quiet;
    EmbeddedCard card;
    // A device that is not there may be plugged in later.
    const banc::OpenedCard absent = OpenCard(OnPort("/dev/ttyUSB-absent"), card);
    EXPECT_EQ(absent.link, nullptr);
    EXPECT_EQ(absent.error, "Port /dev/ttyUSB-absent introuvable.");
    EXPECT_TRUE(absent.mayComeBack);
    // A name that names no device never will.
    const banc::OpenedCard unknown = OpenCard(OnPort("COM0"), card);
    EXPECT_EQ(unknown.error, "Nom de port inconnu : COM0 (COM1 \xE0 COM96 ou un chemin comme /dev/ttyUSB0).");
    EXPECT_FALSE(unknown.mayComeBack);
    const banc::OpenedCard none = OpenCard(OnPort(""), card);
    EXPECT_EQ(none.link, nullptr);
    EXPECT_EQ(none.error, "Aucun port choisi : choisissez le port de la carte.");
    EXPECT_FALSE(none.mayComeBack);
    EXPECT_EQ(card.Path(), "");
}
