// The frequency sweep from the command line, end to end against the simulated card.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <complex>
#include <numbers>

#include "BancTestSupport.h"
#include "ConsoleFixture.h"

using banc::test::Console;
using banc::test::ReadFile;
using banc::test::Utf8;
using Json = nlohmann::json;

namespace {

constexpr double kPi = std::numbers::pi;

// The air flow bench's heater seen by its temperature sensor, the fan off:
// 40 K for the full command over the sensor's 60 K span, a lag of 20 s after 1.5 s of transport.
std::complex<double> Heater(double hz)
{
    const std::complex<double> s(0, 2 * kPi * hz);
    return 40.0 / 60.0 * std::exp(-1.5 * s) / (1.0 + 20.0 * s);
}

const std::vector<std::string> kSweep = {"--banc",     "debitair",  "--mesure", "temperature",
                                         "--commande", "chauffage", "--bode"};

std::vector<std::string> Sweep(std::initializer_list<std::string> more)
{
    std::vector<std::string> arguments = kSweep;
    arguments.insert(arguments.end(), more);
    return arguments;
}

// Four frequencies of the heater, with every output.
class HeaterSweep : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_console = new Console;
        s_status = s_console->Run(Sweep({"--fmin", "0,002", "--fmax", "0.08", "--points", "4", "--vitesse", "10000",
                                         "--json", "b.json", "--csv", "b.csv", "--png", "b.png"}));
    }
    static void TearDownTestSuite() { delete s_console; }

    static Console* s_console;
    static int s_status;
};

Console* HeaterSweep::s_console = nullptr;
int HeaterSweep::s_status = -1;

}  // namespace

TEST_F(HeaterSweep, ThePointsAreTheHeatersTransferInTheJson)
{
    ASSERT_EQ(s_status, 0) << s_console->m_errors;
    const Json json = Json::parse(ReadFile(s_console->File("b.json")));
    EXPECT_EQ(json["banc"], "debitair");
    EXPECT_EQ(json["mode"], "bo");
    EXPECT_EQ(json["mesure"], "temperature");
    EXPECT_EQ(json["unite_gain"], "%/%");
    EXPECT_EQ(json["repos_pct"], 50.0);
    EXPECT_EQ(json["amplitude_pct"], 10.0);
    EXPECT_EQ(json["complet"], true);
    EXPECT_TRUE(json["manquantes_hz"].empty());
    const Json& bode = json["bode"];
    ASSERT_EQ(bode.size(), 4u);
    for (const Json& point : bode) {
        std::vector<std::string> keys;
        for (const auto& item : point.items()) keys.push_back(item.key());
        EXPECT_EQ(keys, (std::vector<std::string>{"distorsion_pct", "fiable", "frequence_hz", "gain", "gain_db",
                                                  "phase_deg", "pulsation_rad_s", "remarque"}));
        const double hz = point["frequence_hz"];
        const std::complex<double> expected = Heater(hz);
        // 3 %: at the highest frequency the swing is a few of the card's counts, and the card keeps
        // the wall clock, so where each frequency starts moves its reading by up to a count.
        EXPECT_NEAR(point["gain"].get<double>(), std::abs(expected), 0.03 * std::abs(expected)) << hz;
        EXPECT_NEAR(point["phase_deg"].get<double>(), std::arg(expected) * 180 / kPi, 3) << hz;
        EXPECT_DOUBLE_EQ(point["gain_db"].get<double>(), 20 * std::log10(point["gain"].get<double>()));
        EXPECT_DOUBLE_EQ(point["pulsation_rad_s"].get<double>(), 2 * kPi * hz);
        EXPECT_EQ(point["fiable"], true);
        EXPECT_EQ(point["remarque"], "");
    }
    EXPECT_NEAR(bode[0]["frequence_hz"].get<double>(), 0.002, 0.00002);
    EXPECT_NEAR(bode[3]["frequence_hz"].get<double>(), 0.08, 0.002);
}

TEST_F(HeaterSweep, TheMarginsOfTheProfilesPidAreInTheJson)
{
    // The factory PI (Kp 1, Ti 0.5 s) over the heater: 0 dB and -180 degrees are both crossed
    // between 0.021 and 0.08 Hz, where the PI's own phase is near -90 degrees.
    ASSERT_EQ(s_status, 0) << s_console->m_errors;
    const Json margins = Json::parse(ReadFile(s_console->File("b.json")))["marges"];
    std::vector<std::string> keys;
    for (const auto& item : margins.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"frequence_gain_hz", "frequence_phase_hz", "gain_db", "phase_deg"}));
    ASSERT_TRUE(margins["frequence_gain_hz"].is_number());
    ASSERT_TRUE(margins["frequence_phase_hz"].is_number());
    EXPECT_GT(margins["frequence_gain_hz"].get<double>(), 0.021);
    EXPECT_LT(margins["frequence_gain_hz"].get<double>(), 0.08);
    EXPECT_TRUE(margins["gain_db"].is_number());
    EXPECT_TRUE(margins["phase_deg"].is_number());
}

TEST_F(HeaterSweep, TheTableIsPrintedAndWrittenAsCsv)
{
    ASSERT_EQ(s_status, 0) << s_console->m_errors;
    // The header's cells, padded to the widest of their column.
    const std::string& out = s_console->m_output;
    const std::string header = out.substr(out.find("f (Hz)"), out.find('\n', out.find("f (Hz)")) - out.find("f (Hz)"));
    std::string cells;
    for (const char c : header) cells += c == ' ' && (cells.empty() || cells.back() == ' ') ? "" : std::string(1, c);
    EXPECT_EQ(cells, Utf8("f (Hz) w (rad/s) gain (%/%) gain (dB) phase (\xB0) distorsion (%) remarque")) << out;
    EXPECT_NE(s_console->m_errors.find(Utf8("Balayage de 4 fr\xE9quences de 0,002 Hz \xE0 0,08")), std::string::npos)
        << s_console->m_errors;
    EXPECT_NE(s_console->m_errors.find(Utf8("Fr\xE9quence 4/4 : ")), std::string::npos);
    EXPECT_NE(s_console->m_errors.find("Fichiers " + Utf8("\xE9") + "crits : b.csv, b.png, b.json"), std::string::npos);
    const std::string csv = ReadFile(s_console->File("b.csv"));
    EXPECT_EQ(csv.rfind("frequence_hz,", 0), 0u) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
}

TEST(SweepConsole, BoundsInTheWrongOrderAreRefusedBeforeTheCardIsStarted)
{
    Console console;
    EXPECT_EQ(console.Run(Sweep({"--fmin", "0.1", "--fmax", "0.01"})), 2);
    EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : Les bornes sont dans le mauvais ordre : --fmin 0,1 Hz doit \xEAtre "
                                     "en dessous de --fmax 0,01 Hz.\n"));
}

TEST(SweepConsole, AFrequencyTheCardCannotPlayIsRefused)
{
    Console console;
    EXPECT_EQ(console.Run(Sweep({"--fmin", "1", "--fmax", "5", "--points", "2"})), 2);
    EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : La carte ne joue pas 5 Hz : \xE0 sa p\xE9riode de 50 ms, la table "
                                     "de sinus n'aurait que 4 points (10 au moins, soit 2 Hz au plus).\n"));
}

TEST(SweepConsole, TheSweepsOptionsGoWithItAlone)
{
    Console console;
    EXPECT_EQ(console.Run({"--banc", "debitair", "--fmin", "0.01"}), 2);
    EXPECT_EQ(console.m_errors, "tarvic-banc : --fmin, --fmax et --points ne valent qu'avec --bode.\n");
    EXPECT_EQ(console.Run(Sweep({"--identifier"})), 2);
    EXPECT_EQ(console.m_errors,
              Utf8("tarvic-banc : --bode est un essai \xE0 lui seul : sans --identifier, --relais, --regle ni "
                   "--predire.\n"));
    EXPECT_EQ(console.Run(Sweep({"--points", "0"})), 2);
    EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : --points 0 : un nombre entier de 1 \xE0 100.\n"));
}

TEST(SweepConsole, AClosedLoopIsNoSweep)
{
    Console console;
    EXPECT_EQ(console.Run(Sweep({"--mode", "pid", "--fmin", "0.01", "--fmax", "0.1"})), 2);
    EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : La r\xE9ponse fr\xE9quentielle se mesure en boucle ouverte "
                                     "(--mode bo), pas en mode pid.\n"));
}

TEST(SweepConsole, WithoutBoundsNorAKeptModelItAsksForThem)
{
    Console console;
    EXPECT_EQ(console.Run(Sweep({})), 2);
    EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : Aucun mod\xE8le gard\xE9 d'o\xF9 tirer les bornes du balayage : "
                                     "donnez --fmin et --fmax, ou identifiez d'abord le proc\xE9" "d\xE9 "
                                     "(--identifier).\n"));
}

TEST(SweepConsole, TheHelpShowsTheSweep)
{
    Console console;
    EXPECT_EQ(console.Run({"--help"}), 0);
    for (const char* line : {"        tarvic-banc --banc NOM --bode [--fmin F --fmax F] [--points N]\n",
                             "  --points N             nombre de fr\xE9quences, espac\xE9" "es en log (12)\n",
                             "  --amplitude A          amplitude du sinus, % de la commande (10)\n"})
        EXPECT_NE(console.m_output.find(Utf8(line)), std::string::npos) << line;
}
