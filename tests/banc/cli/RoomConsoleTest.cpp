#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "BancTestSupport.h"
#include "ConsoleFixture.h"
#include "ProgramRun.h"
#include "net/MqttClient.h"
#include "net/PayloadJson.h"
#include "net/support/MessageLog.h"
#include "net/support/TestBroker.h"

using banc::test::Console;
using banc::test::ProgramRun;
using banc::test::ReadFile;
using banc::test::Utf8;
using tarvic::test::MessageLog;
using tarvic::test::TestBroker;
using tarvic::test::WaitUntil;

namespace {

// A room on a broker of the test's own: what the consoles publish, and the orders it gives.
class Room : public ::testing::Test {
protected:
    void SetUp() override
    {
        TARVIC_REQUIRE_MOSQUITTO();
        m_broker.emplace();
        ASSERT_TRUE(m_broker->Running()) << m_broker->Log();
        m_log.emplace(m_broker->Port(), "tarvic/#");
        ASSERT_TRUE(m_log->Ready());
    }

    std::vector<std::string> Options() const
    {
        return {"--mqtt",     "127.0.0.1:" + std::to_string(m_broker->Port()),
                "--salle",    "B204",
                "--poste",    "pc07",
                "--etudiant", "alice"};
    }
    static std::vector<std::string> With(std::vector<std::string> run, const std::vector<std::string>& more)
    {
        run.insert(run.end(), more.begin(), more.end());
        return run;
    }

    void Order(const std::string& payload)
    {
        if (!m_teacher) {
            net::MqttSettings settings;
            settings.host = "127.0.0.1";
            settings.port = m_broker->Port();
            settings.poste = {"B204", "prof"};
            m_teacher.emplace(settings, "salle-de-test", net::MqttClient::Will{});
        }
        m_teacher->Publish("tarvic/B204/pc07/ordre", payload, false);
    }

    // Each message of the console's as its channel and, for a state, its activity: "etat:essai", "mesures", "essai".
    std::vector<std::string> Story() const
    {
        std::vector<std::string> story;
        for (const auto& [topic, payload] : m_log->Messages()) {
            const std::string channel = topic.substr(topic.rfind('/') + 1);
            if (channel == "ordre") continue;  // the room's, not the console's
            std::string step = channel;
            if (channel == "etat") {
                net::PosteState state;
                step += ":" + (net::FromJson(payload, state).empty() ? ActivityWord(state.activity) : "illisible");
            }
            // The live values come as often as the run's length allows: one stands for all.
            if (story.empty() || story.back() != step || step != "mesures") story.push_back(step);
        }
        return story;
    }
    static std::string ActivityWord(net::PosteActivity activity)
    {
        const char* words[] = {"libre", "essai", "arret", "hors-ligne"};
        return words[static_cast<int>(activity)];
    }
    // The payload of the last message on `channel`.
    std::string Last(const std::string& channel) const
    {
        std::string last;
        for (const auto& [topic, payload] : m_log->Messages())
            if (topic == "tarvic/B204/pc07/" + channel) last = payload;
        return last;
    }
    bool WaitForOffline() const
    {
        return WaitUntil([this] {
            const std::vector<std::string> story = Story();
            return !story.empty() && story.back() == "etat:hors-ligne";
        });
    }

    std::optional<TestBroker> m_broker;
    std::optional<MessageLog> m_log;
    std::optional<net::MqttClient> m_teacher;
};

TEST_F(Room, ARunTellsItsStateItsLiveValuesAndItsEndWithItsArchive)
{
    Console console;
    ASSERT_EQ(console.Run(With({"--banc", "niveaueau", "--kp", "2", "--ti", "20", "--echelon", "50", "--duree", "320",
                                "--vitesse", "200", "--archive", "r.tbc"},
                               Options())),
              0)
        << console.m_errors;
    ASSERT_TRUE(WaitForOffline()) << ::testing::PrintToString(Story());
    EXPECT_EQ(Story(), (std::vector<std::string>{"etat:essai", "mesures", "essai", "etat:libre", "etat:hors-ligne"}));

    net::PosteState state;
    ASSERT_EQ(net::FromJson(m_log->Messages()[0].second, state), "");
    EXPECT_EQ(state.kind, net::PosteKind::Bench);
    EXPECT_EQ(state.name, "niveaueau");
    EXPECT_EQ(state.mode, "pid");
    EXPECT_EQ(state.card, "cardsim (carte simul\xE9" "e)");
    EXPECT_EQ(state.program, "tarvic-banc");
    EXPECT_EQ(state.version, "1.0.0");
    EXPECT_EQ(state.user, "alice");

    net::Measures measures;
    ASSERT_EQ(net::FromJson(Last("mesures"), measures), "");
    std::string names;
    for (const net::Measure& measure : measures.values) names += measure.name + " (" + measure.unit + ") ";
    EXPECT_EQ(names, "Consigne (%) Niveau 1 (%) Commande (%) Niveau 2 (%) D\xE9" "bit de la pompe (%) ");

    net::RunEnd run;
    ASSERT_EQ(net::FromJson(Last("essai"), run), "");
    EXPECT_EQ(run.number, 1);
    EXPECT_EQ(run.user, "alice");
    EXPECT_EQ(run.bench, "niveaueau");
    EXPECT_EQ(run.mode, "pid");
    EXPECT_EQ(run.outcome, "complet");
    EXPECT_EQ(run.outcomeText, "");
    EXPECT_EQ(run.measureUnit, "%");
    EXPECT_TRUE(run.finalValue.has_value());
    // The archive is the run's own, byte for byte: the room can redraw and keep it.
    EXPECT_EQ(run.archive, ReadFile(console.File("r.tbc")));
    EXPECT_EQ(run.resultsJson.substr(0, 1), "{");
}

TEST_F(Room, TheOrderToStopEndsTheRunAsCtrlCDoes)
{
    Console console;
    ProgramRun run(With({"--banc", "niveaueau", "--duree", "320", "--vitesse", "20"}, Options()),
                   console.m_folder.Path(), console.Environment());
    ASSERT_TRUE(run.WaitForError("Bloc 1/20")) << run.Errors();
    Order("{\"schema\":1,\"ordre\":\"arreter\"}");
    EXPECT_EQ(run.Finish(), 130);
    EXPECT_NE(run.Errors().find(Utf8("Arr\xEAt demand\xE9 par la salle.\n")), std::string::npos) << run.Errors();
    EXPECT_NE(run.Errors().find(Utf8("tarvic-banc : Essai interrompu. ")), std::string::npos) << run.Errors();
    ASSERT_TRUE(WaitForOffline()) << ::testing::PrintToString(Story());
    EXPECT_EQ(Story(), (std::vector<std::string>{"etat:essai", "mesures", "essai", "etat:arret", "etat:hors-ligne"}));
    net::RunEnd end;
    ASSERT_EQ(net::FromJson(Last("essai"), end), "");
    EXPECT_EQ(end.outcome, "interrompu");
    EXPECT_EQ(end.outcomeText, "Essai interrompu.");
}

TEST_F(Room, AMessageIsPrintedOnOneLineAndARefusedOrderIsSaidWhileTheRunGoesOn)
{
    Console console;
    ProgramRun run(With({"--banc", "niveaueau", "--duree", "320", "--vitesse", "20"}, Options()),
                   console.m_folder.Path(), console.Environment());
    ASSERT_TRUE(run.WaitForError("Bloc 1/20")) << run.Errors();
    // An escape sequence and a line end from the network reach no terminal.
    Order(
        "{\"schema\":1,\"ordre\":\"message\",\"texte\":\"Rangez \\u001b[2J le banc\\nmerci, \\u00e0 bient\\u00f4t\"}");
    Order("{\"schema\":1,\"ordre\":\"arreter\",\"sortie\":255}");
    ASSERT_TRUE(run.WaitForError(Utf8("refus\xE9 par prudence.\n"))) << run.Errors();
    const std::size_t refused = run.Errors().size();
    ASSERT_TRUE(run.WaitForError("Bloc 3/20")) << run.Errors();
    EXPECT_GT(run.Errors().rfind("Bloc 3/20"), refused);
    run.Interrupt();
    EXPECT_EQ(run.Finish(), 130);
    EXPECT_NE(run.Errors().find(Utf8("Message de la salle : Rangez  [2J le banc merci, \xE0 bient\xF4t\n")),
              std::string::npos)
        << run.Errors();
    EXPECT_NE(run.Errors().find(Utf8("tarvic-banc : ordre de la salle refus\xE9 : champ \"sortie\" inconnu : "
                                     "refus\xE9 par prudence.\n")),
              std::string::npos)
        << run.Errors();
}

TEST_F(Room, ASweepIsARunForTheRoomAndItsOrderStopsIt)
{
    Console console;
    ProgramRun run(With({"--banc", "debitair", "--mesure", "temperature", "--commande", "chauffage", "--bode", "--fmin",
                         "0.002", "--fmax", "0.08", "--points", "4", "--vitesse", "20"},
                        Options()),
                   console.m_folder.Path(), console.Environment());
    ASSERT_TRUE(run.WaitForError(Utf8("Fr\xE9quence 1/4"))) << run.Errors();
    Order("{\"schema\":1,\"ordre\":\"arreter\"}");
    EXPECT_EQ(run.Finish(), 130);
    EXPECT_NE(run.Errors().find(Utf8("Arr\xEAt demand\xE9 par la salle.\n")), std::string::npos) << run.Errors();
    ASSERT_TRUE(WaitForOffline()) << ::testing::PrintToString(Story());
    // A sweep is not kept in the history: no run's end, only the states.
    std::vector<std::string> states;
    for (const std::string& step : Story())
        if (step != "mesures") states.push_back(step);
    EXPECT_EQ(states, (std::vector<std::string>{"etat:essai", "etat:arret", "etat:hors-ligne"}));
    net::PosteState state;
    ASSERT_EQ(net::FromJson(m_log->Messages()[0].second, state), "");
    EXPECT_EQ(state.name, "debitair");
    EXPECT_EQ(state.mode, "bo");
}

TEST_F(Room, ABrokerThatIsNotThereHoldsUpNothing)
{
    const std::string options = "127.0.0.1:" + std::to_string(m_broker->Port());
    m_broker->Stop();
    Console console;
    EXPECT_EQ(console.Run({"--banc", "niveaueau", "--duree", "32", "--vitesse", "200", "--csv", "r.csv", "--mqtt",
                           options, "--salle", "B204"}),
              0)
        << console.m_errors;
    EXPECT_NE(ReadFile(console.File("r.csv")), "");
    EXPECT_NE(console.m_output.find("Blocs acquis : 2 sur 2"), std::string::npos) << console.m_output;
}

TEST_F(Room, SettingsThatCannotBeUsedLeaveTheRunUnpublished)
{
    Console console;
    EXPECT_EQ(console.Run(With(
                  {"--banc", "niveaueau", "--duree", "32", "--vitesse", "200", "--mqtt-mdp", console.File("absent")},
                  Options())),
              0)
        << console.m_errors;
    EXPECT_NE(console.m_errors.find(Utf8(" L'essai n'est pas publi\xE9 vers la salle.\n")), std::string::npos)
        << console.m_errors;
    EXPECT_NE(console.m_errors.find(console.File("absent")), std::string::npos) << console.m_errors;
    EXPECT_TRUE(m_log->Messages().empty());
}

}  // namespace
