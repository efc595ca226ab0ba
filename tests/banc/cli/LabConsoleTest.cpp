// The lab work from the command line, end to end against the simulated card.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "BancTestSupport.h"
#include "ConsoleFixture.h"
#include "ProgramRun.h"
#include "tarvic/platform/Text.h"

using banc::test::Console;
using banc::test::ProgramRun;
using banc::test::ReadFile;
using banc::test::Utf8;
using Json = nlohmann::json;

namespace {

// The air flow bench's heater seen by its temperature sensor: 40 K for the
// full command at no air flow, over the sensor's 60 K span, through a lag of
// 20 s and 1.5 s of transport.
constexpr double kHeaterGain = 40.0 / 60.0;
constexpr double kHeaterLag = 20, kHeaterTransport = 1.5;
constexpr double kAirPeriod = 0.05;  // s between two points of its recording

const std::vector<std::string> kHeater = {"--banc", "debitair", "--mesure", "temperature", "--commande", "chauffage"};

std::vector<std::string> Heater(std::initializer_list<std::string> more)
{
    std::vector<std::string> arguments = kHeater;
    arguments.insert(arguments.end(), more);
    return arguments;
}

// A setting as the profile writes it ("%.3f"), in French.
std::string Setting(double value)
{
    std::string text = tarvic::Format("%.3f", value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

Json ReadJson(const std::string& path) { return Json::parse(ReadFile(path)); }

// Pixels in the overlays' orange: the fitted model, the predicted response.
int OrangePixels(const std::string& path)
{
    const QImage image(QString::fromLocal8Bit(path.c_str()));
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == QColor(255, 140, 0);
    return count;
}

// The path of the README: identify the heater in open loop with SIMC's PI
// chosen, then run that PI in closed loop against its prediction.
class HeaterLabWork : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_console = new Console;
        s_identified =
            s_console->Run(Heater({"--mode", "bo", "--echelon", "50", "--duree", "200", "--vitesse", "200",
                                   "--identifier", "--regle", "simc", "--json", "i.json", "--png", "i.png"}));
        s_identification = s_console->m_output;
        s_identificationErrors = s_console->m_errors;
        s_closed = s_console->Run(Heater({"--mode", "pid", "--echelon", "50", "--duree", "100", "--vitesse", "200",
                                          "--regle", "simc", "--predire", "--json", "p.json", "--png", "p.png"}));
    }
    static void TearDownTestSuite() { delete s_console; }

    static Console* s_console;
    static int s_identified, s_closed;
    static std::string s_identification, s_identificationErrors;
};

Console* HeaterLabWork::s_console = nullptr;
int HeaterLabWork::s_identified = -1;
int HeaterLabWork::s_closed = -1;
std::string HeaterLabWork::s_identification;
std::string HeaterLabWork::s_identificationErrors;

}  // namespace

TEST_F(HeaterLabWork, TheFitFindsTheHeatersGainLagAndTransport)
{
    ASSERT_EQ(s_identified, 0) << s_identificationErrors;
    const Json json = ReadJson(s_console->File("i.json"));
    EXPECT_EQ(json["banc"], "debitair");
    EXPECT_EQ(json["mode"], "bo");
    const Json& model = json["modele"];
    EXPECT_EQ(model["type"], "premier_ordre_retard");
    EXPECT_EQ(model["unite_gain"], "%/%");
    EXPECT_NEAR(model["gain"].get<double>(), kHeaterGain, 0.03 * kHeaterGain);
    EXPECT_NEAR(model["constante_temps_s"].get<double>(), kHeaterLag, 0.03 * kHeaterLag);
    EXPECT_NEAR(model["retard_s"].get<double>(), kHeaterTransport, kAirPeriod);
    EXPECT_LT(model["residu"].get<double>(), 0.1);
    // Each graphic method with the points it read on the curve.
    ASSERT_GE(json["methodes"].size(), 3u);
    for (const Json& method : json["methodes"]) {
        EXPECT_FALSE(method["points"].empty()) << method["methode"];
        EXPECT_NEAR(method["gain"].get<double>(), kHeaterGain, 0.03 * kHeaterGain) << method["methode"];
    }
    // The run stopped once the response settled, well before its 125 blocks.
    EXPECT_EQ(json["complet"], true);
    EXPECT_LT(json["blocs_acquis"].get<int>(), 125);
}

TEST_F(HeaterLabWork, PrintsTheModelsAndTheSuggestedSettingsAsTables)
{
    ASSERT_EQ(s_identified, 0) << s_identificationErrors;
    const std::string models = Utf8(
        "\nIdentification :\n"
        "Mod\xE8le                      Gain  Constante  Retard  Ordre    R\xE9sidu  Expliqu\xE9\n");
    EXPECT_NE(s_identification.find(models), std::string::npos) << s_identification;
    const std::string suggestions = Utf8(
        "R\xE9glages sugg\xE9r\xE9s pour le mode pid, et leur r\xE9ponse pr\xE9" "dite :\n"
        "R\xE8gle   Type");
    EXPECT_NE(s_identification.find(suggestions), std::string::npos) << s_identification;
    const Json json = ReadJson(s_console->File("i.json"));
    // Every suggestion in the table, with the settings the JSON gives.
    for (const Json& setting : json["reglages"]) {
        const std::string start = tarvic::Format("\n%-6s  %4s  ", setting["regle"].get<std::string>().c_str(),
                                                 setting["correcteur"].get<std::string>().c_str());
        const std::size_t at = s_identification.find(start);
        ASSERT_NE(at, std::string::npos) << start;
        const std::string row = s_identification.substr(at + 1, s_identification.find('\n', at + 1) - at - 1);
        EXPECT_NE(row.find(Setting(setting["kp"].get<double>())), std::string::npos) << row;
    }
}

TEST_F(HeaterLabWork, TheChosenRuleIsWrittenIntoTheClosedLoopsSettingsAndTheModelKept)
{
    ASSERT_EQ(s_identified, 0) << s_identificationErrors;
    const Json json = ReadJson(s_console->File("i.json"));
    const Json& applied = json["reglage_applique"];
    EXPECT_EQ(applied["regle"], "simc");
    EXPECT_EQ(applied["correcteur"], "PI");
    // SIMC's PI for the fitted model: Kc = tau / (K (tauc + theta)), tauc = theta; Ti = min(tau, 4 (tauc + theta)).
    const Json& model = json["modele"];
    const double tau = model["constante_temps_s"], theta = model["retard_s"], gain = model["gain"];
    EXPECT_NEAR(applied["forme_ideale"]["kc"].get<double>(), tau / (gain * 2 * theta), 1e-6);
    EXPECT_NEAR(applied["forme_ideale"]["ti_s"].get<double>(), std::min(tau, 8 * theta), 1e-6);
    const std::string said = tarvic::Format(
        "R\xE9glage simc (PI) \xE9" "crit dans le profil du mode pid : --kp %s "
        "--ti %s --ks %s --actions PI.\n",
        Setting(applied["kp"]).c_str(), Setting(applied["ti"]).c_str(), Setting(applied["ks"]).c_str());
    EXPECT_NE(s_identification.find(Utf8(said)), std::string::npos) << s_identification;
    const std::string profile = ReadFile(s_console->File("tarvic/tarvic-banc-debitair.ini"));
    const std::string pid = profile.substr(profile.find("[D_MODE1_PID]"));
    EXPECT_NE(pid.find(tarvic::Format("\nKP=%.3f\n", applied["kp"].get<double>())), std::string::npos) << pid;
    EXPECT_NE(pid.find(tarvic::Format("\nTI=%.3f\n", applied["ti"].get<double>())), std::string::npos) << pid;
    EXPECT_NE(pid.find("\nACTIONS=PI\n"), std::string::npos) << pid;
    EXPECT_NE(profile.find("[D_MODELE_temperature]\nTYPE=premier_ordre_retard\n"), std::string::npos) << profile;
}

TEST_F(HeaterLabWork, TheSuggestedPiRunsAsPredicted)
{
    ASSERT_EQ(s_closed, 0) << s_console->m_errors;
    const Json json = ReadJson(s_console->File("p.json"));
    EXPECT_EQ(json["mode"], "pid");
    EXPECT_EQ(json["reglage_applique"]["regle"], "simc");
    const Json& measured = json["comparaison"]["mesure"];
    const Json& predicted = json["comparaison"]["prediction"];
    ASSERT_EQ(measured["verdict"], "etablie");
    ASSERT_EQ(predicted["verdict"], "etablie");
    // Within a point of overshoot, and 5 % of the settling time.
    EXPECT_NEAR(measured["depassement_pct"].get<double>(), predicted["depassement_pct"].get<double>(), 1.0);
    const double settling = predicted["temps_etablissement_s"];
    EXPECT_NEAR(measured["temps_etablissement_s"].get<double>(), settling, 0.05 * settling);
    // The curves themselves: on average within 1 % of the 50 % step.
    const double iae = json["comparaison"]["iae"], span = json["comparaison"]["duree_comparee_s"];
    EXPECT_LT(iae / span, 0.5);
    // Before the run: the model and the prediction; after it, measured beside predicted.
    const std::string& output = s_console->m_output;
    EXPECT_EQ(output.find(Utf8("Mod\xE8le gard\xE9 : premier ordre, gain ")), 0u) << output;
    EXPECT_LT(output.find(Utf8("R\xE9ponse pr\xE9" "dite : d\xE9passement ")), output.find("Blocs acquis"));
    EXPECT_NE(output.find(Utf8("\nMesur\xE9 et pr\xE9" "dit :\n"
                               "                              Mesur\xE9   Pr\xE9" "dit\n")),
              std::string::npos)
        << output;
    EXPECT_NE(output.find(Utf8(tarvic::Format("Int\xE9grale de l'\xE9" "cart absolu : "))), std::string::npos);
}

TEST_F(HeaterLabWork, TheProfileKeepsTheSuggestedLoopForTheRunsAfter)
{
    ASSERT_EQ(s_closed, 0) << s_console->m_errors;
    Console& console = *s_console;
    ASSERT_EQ(console.Run(Heater({"--mode", "pid", "--repos", "0", "--echelon", "50", "--duree", "100", "--vitesse",
                                  "200", "--predire", "--json", "q.json"})),
              0)
        << console.m_errors;
    const Json again = ReadJson(console.File("q.json"));
    const Json first = ReadJson(console.File("p.json"));
    EXPECT_FALSE(again.contains("reglage_applique"));
    // The profile's three decimals of each setting: the same loop, to within a hair.
    const Json& predicted = again["comparaison"]["prediction"];
    const double settling = first["comparaison"]["prediction"]["temps_etablissement_s"];
    EXPECT_NEAR(predicted["temps_etablissement_s"].get<double>(), settling, 0.01 * settling);
    const double measured = first["comparaison"]["mesure"]["temps_etablissement_s"];
    EXPECT_NEAR(again["comparaison"]["mesure"]["temps_etablissement_s"].get<double>(), measured, 0.01 * measured);
}

TEST_F(HeaterLabWork, AComparisonWithARunThatDidNotStartAtRestSaysSo)
{
    ASSERT_EQ(s_identified, 0) << s_identificationErrors;
    Console& console = *s_console;
    // The setpoint rests at 20 % from the start, but the air is cold: the loop is not at rest at the step.
    ASSERT_EQ(console.Run(Heater({"--mode", "pid", "--repos", "20", "--echelon", "30", "--duree", "50", "--vitesse",
                                  "200", "--predire", "--json", "f.json"})),
              0)
        << console.m_errors;
    EXPECT_NE(console.m_output.find(
                  Utf8("La mesure \xE9tait \xE0 0,00 % \xE0 l'\xE9" "chelon, pas au repos de la consigne (")),
              std::string::npos)
        << console.m_output;
    EXPECT_EQ(ReadJson(console.File("f.json"))["comparaison"]["depart_au_repos"], false);
    EXPECT_EQ(ReadJson(console.File("p.json"))["comparaison"]["depart_au_repos"], true);
}

TEST_F(HeaterLabWork, ThePicturesDrawTheFittedModelAndThePredictedResponse)
{
    ASSERT_EQ(s_identified, 0) << s_identificationErrors;
    ASSERT_EQ(s_closed, 0) << s_console->m_errors;
    EXPECT_GT(OrangePixels(s_console->File("i.png")), 200);
    EXPECT_GT(OrangePixels(s_console->File("p.png")), 100);
}

TEST(LabConsole, TheWaterLevelsTwoTanksAreStrejcsSecondOrder)
{
    Console console;
    // The tanks filled to their rest first: 45 % of pump holds them at 40.5 %, 55 % at 60.5 %.
    ASSERT_EQ(console.Run({"--banc", "niveaueau", "--mode", "bo", "--mesure", "niveau2", "--repos", "45", "--echelon",
                           "55", "--duree", "1500", "--vitesse", "1000", "--identifier", "--stabilisation", "3000",
                           "--json", "n.json"}),
              0)
        << console.m_errors;
    const Json json = ReadJson(console.File("n.json"));
    const Json& step = json["resume"];
    ASSERT_EQ(step["verdict"], "etablie");
    // The gain is the level's change over the command's, 10 %.
    const double change = step["valeur_finale"].get<double>() - step["depart"].get<double>();
    EXPECT_NEAR(json["modele"]["gain"].get<double>(), change / 10, 0.03 * change / 10);
    const auto strejc = std::find_if(json["methodes"].begin(), json["methodes"].end(),
                                     [](const Json& method) { return method["methode"] == "strejc"; });
    ASSERT_NE(strejc, json["methodes"].end());
    EXPECT_EQ((*strejc)["ordre"], 2);
    EXPECT_EQ((*strejc)["type"], "strejc");
    EXPECT_NE(console.m_output.find("\nIdentification :\n"), std::string::npos) << console.m_output;
}

TEST(LabConsole, TheRelayTestGivesTheUltimateGainAndPeriod)
{
    Console console;
    ASSERT_EQ(console.Run(Heater({"--mode", "tor", "--echelon", "30", "--duree", "300", "--vitesse", "500", "--relais",
                                  "--regle", "tl", "--json", "r.json"})),
              0)
        << console.m_errors;
    const Json json = ReadJson(console.File("r.json"));
    const double ku = json["ku"], pu = json["pu_s"];
    // Ku = 4 d / (pi a), from the swing of the command and of the measurement.
    EXPECT_NEAR(
        ku, 4 * json["relais"]["amplitude_commande"].get<double>() / (M_PI * json["relais"]["amplitude"].get<double>()),
        1e-6 * ku);
    EXPECT_GT(pu, 2 * kHeaterTransport);
    EXPECT_EQ(json["reglage_applique"]["regle"], "tl");
    EXPECT_TRUE(json["reglage_applique"]["prediction"].is_null());
    EXPECT_NE(console.m_output.find(Utf8("\nTest du relais :\nGain critique Ku = ")), std::string::npos)
        << console.m_output;
}

TEST(LabConsole, AnIdentificationStoppedByCtrlCIdentifiesNothingAndSaysSo)
{
    Console console;
    ProgramRun run(Heater({"--mode", "bo", "--echelon", "50", "--duree", "200", "--vitesse", "20", "--identifier",
                           "--json", "c.json"}),
                   console.m_folder.Path(), console.Environment());
    ASSERT_TRUE(run.WaitForError("Bloc 3/")) << run.Errors();
    run.Interrupt();
    EXPECT_EQ(run.Finish(), 130);
    EXPECT_NE(run.Errors().find(Utf8("tarvic-banc : L'essai s'est arr\xEAt\xE9 avant sa fin : rien n'est "
                                     "identifi\xE9.\n")),
              std::string::npos)
        << run.Errors();
    EXPECT_EQ(run.Output().find("Identification"), std::string::npos) << run.Output();
    const Json json = ReadJson(console.File("c.json"));
    EXPECT_EQ(json["complet"], false);
    EXPECT_FALSE(json.contains("modele"));
    EXPECT_EQ(json["refus"], Utf8("L'essai s'est arr\xEAt\xE9 avant sa fin : rien n'est identifi\xE9."));
    // No model was kept for a later run.
    EXPECT_EQ(ReadFile(console.File("tarvic/tarvic-banc-debitair.ini")).find("MODELE"), std::string::npos);
}

TEST(LabConsole, ACardLostDuringAnIdentificationIdentifiesNothing)
{
    Console console;
    EXPECT_EQ(
        console.Run(Heater({"--mode", "bo", "--echelon", "50", "--duree", "200", "--vitesse", "50", "--identifier"}),
                    {console.FaultyCard("--hangup-after 300")}),
        1);
    EXPECT_NE(console.m_errors.find(Utf8("\ntarvic-banc : L'essai s'est arr\xEAt\xE9 avant sa fin : rien n'est "
                                         "identifi\xE9.\n")),
              std::string::npos)
        << console.m_errors;
    EXPECT_NE(console.m_output.find("Blocs acquis : "), std::string::npos) << console.m_output;
    EXPECT_EQ(console.m_output.find("Identification"), std::string::npos) << console.m_output;
}

TEST(LabConsole, LabOptionsThatDoNotGoTogetherAreRefusedBeforeAnyRun)
{
    Console console;
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    for (const Case& c : {
             Case{Heater({"--mode", "pid", "--identifier"}),
                  "--identifier fait un \xE9" "chelon en boucle ouverte : --mode bo, pas pid."},
             Case{Heater({"--mode", "bo", "--identifier", "--relais"}),
                  "--identifier et --relais sont deux essais : un seul \xE0 la fois."},
             Case{Heater({"--stabilisation", "10"}),
                  "--stabilisation ne vaut qu'avec --identifier, --relais ou --bode."},
             Case{Heater({"--mode", "bo", "--identifier", "--correcteur", "PID"}),
                  "--correcteur ne vaut qu'avec --regle."},
             Case{Heater({"--regle", "tl"}), "--regle tl suit un essai de relais : ajoutez --relais."},
             Case{Heater({"--mode", "tor", "--relais", "--regle", "simc"}),
                  "Apr\xE8s un essai de relais, --regle zn_relais ou tl."},
             Case{Heater({"--mode", "corz", "--regle", "simc"}),
                  "--regle r\xE8gle un PID : --identifier en boucle ouverte, ou un mode \xE0 PID (pas corz)."},
             Case{Heater({"--regle", "simc", "--lambda", "5"}),
                  "--lambda ne vaut qu'avec --identifier ou --regle imc."},
             Case{Heater({"--regle", "imc", "--tau-c", "5"}), "--tau-c ne vaut qu'avec --identifier ou --regle simc."},
             Case{Heater({"--mode", "bo", "--predire"}),
                  "--predire pr\xE9" "dit un essai en boucle ferm\xE9" "e avec PID, sans --identifier ni --relais."},
             Case{Heater({"--regle", "simc", "--kp", "2"}), "--regle donne --kp : l'un ou l'autre."},
             Case{Heater({"--regle", "simc", "--actions", "PID"}), "--regle donne --actions : l'un ou l'autre."},
             Case{Heater({"--regle", "pid"}),
                  "R\xE8gle inconnue : pid (zn, cc, chr0, chr20, broida, imc, simc, zn_relais, tl)."},
             Case{Heater({"--regle", "simc", "--correcteur", "PIDD"}), "Correcteur inconnu : PIDD (P, PI, PID)."},
             Case{Heater({"--regle", "simc", "--tau-c", "0"}),
                  "--tau-c 0 : hors limites, plus de 0 et jusqu'\xE0 100000 s."},
             Case{Heater({"--mode", "bo", "--identifier", "--stabilisation", "7200"}),
                  "--stabilisation 7200 : hors limites, plus de 0 et jusqu'\xE0 3600 s."},
             Case{Heater({"--json", ""}), "--json : le nom du fichier est vide."},
             Case{Heater({"--csv", "r.csv", "--json", "./r.csv"}),
                  "--csv r.csv et --json ./r.csv sont un m\xEAme fichier : l'un \xE9" "craserait l'autre."},
         }) {
        EXPECT_EQ(console.Run(c.arguments), 2) << c.error;
        EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : " + c.error + "\n"));
        EXPECT_EQ(console.m_output, "");
    }
    EXPECT_FALSE(std::filesystem::exists(console.File("tarvic/tarvic-banc-debitair.ini")));
}

TEST(LabConsole, ARuleWithoutAKeptModelIsRefusedAndNothingRuns)
{
    Console console;
    EXPECT_EQ(console.Run(Heater({"--mode", "pid", "--regle", "simc", "--predire", "--vitesse", "1000"})), 2);
    EXPECT_EQ(console.m_errors,
              Utf8("tarvic-banc : Aucun mod\xE8le gard\xE9 de la temp\xE9rature du banc debitair command\xE9" "e par "
                   "chauffage : identifiez-la d'abord (--mode bo --mesure temperature --commande chauffage "
                   "--identifier).\n"));
    EXPECT_EQ(console.m_output, "");
}

TEST(LabConsole, TheRelayTestIsRefusedOnABenchWithoutAnOnOffController)
{
    Console console;
    EXPECT_EQ(console.Run({"--banc", "axnum", "--mode", "vitesse", "--relais"}), 2);
    EXPECT_EQ(console.m_errors.rfind("tarvic-banc : Le test du relais se fait avec le correcteur tout ou rien", 0), 0u)
        << console.m_errors;
}

TEST(LabConsole, TheHelpGivesTheLabWorksOptions)
{
    Console console;
    ASSERT_EQ(console.Run({"--help"}), 0);
    const std::string expected = Utf8(
        "Identification et r\xE9glage :\n"
        "  --identifier           en boucle ouverte (--mode bo) : tient le repos jusqu'\xE0 une\n"
        "                         mesure stable, fait l'\xE9" "chelon, s'arr\xEAte une fois la r\xE9ponse\n"
        "                         \xE9tablie (au plus --duree) ; donne les mod\xE8les, les r\xE9glages\n"
        "                         sugg\xE9r\xE9s et leur r\xE9ponse pr\xE9" "dite, et garde le mod\xE8le au profil\n"
        "  --stabilisation S      dur\xE9" "e du repos avant l'\xE9" "chelon ou le sinus (sinon : mesure stable)\n"
        "  --relais               essai de relais (TOR autour de la consigne) : Ku, Pu\n"
        "                         et les r\xE9glages de Ziegler-Nichols et Tyreus-Luyben\n"
        "  --regle NOM            \xE9" "crit au profil le r\xE9glage de la r\xE8gle (kp, ti, td, kf, ks,\n"
        "                         actions du mode pid) : zn, cc, chr0, chr20, broida, imc,\n"
        "                         simc ; zn_relais, tl avec --relais ; en mode pid, depuis\n"
        "                         le mod\xE8le gard\xE9 par --identifier, avant l'essai\n"
        "  --correcteur TYPE      P, PI (par d\xE9" "faut) ou PID\n"
        "  --lambda S             imc : constante de temps voulue en boucle ferm\xE9" "e\n"
        "                         (par d\xE9" "faut 0,8 retard, au moins 0,1 constante de temps)\n"
        "  --tau-c S              simc : constante de temps voulue (par d\xE9" "faut le retard)\n"
        "  --predire              en boucle ferm\xE9" "e : la r\xE9ponse pr\xE9" "dite par le mod\xE8le gard\xE9\n"
        "                         avant l'essai, puis mesur\xE9" "e et pr\xE9" "dite c\xF4te \xE0 c\xF4te\n"
        "\n"
        "R\xE9ponse fr\xE9quentielle :\n");
    EXPECT_NE(console.m_output.find(expected), std::string::npos) << console.m_output;
    EXPECT_NE(console.m_output.find(Utf8("  --json FICHIER         tout ce que l'essai a donn\xE9, pour un script "
                                         "(UTF-8)\n")),
              std::string::npos);
    EXPECT_NE(console.m_output.find("        tarvic-banc --banc NOM --mode pid [--regle NOM] --predire\n"),
              std::string::npos);
}
