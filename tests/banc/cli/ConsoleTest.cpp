#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QImage>

#include <QString>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "ConsoleFixture.h"
#include "ProgramRun.h"
#include "support/ScriptedCard.h"
#include "tarvic/platform/Text.h"

using banc::test::Console;
using banc::test::ProgramRun;
using banc::test::ReadFile;
using banc::test::RunProgram;
using banc::test::TemporaryFolder;
using banc::test::Utf8;

namespace {

struct Csv {
    std::vector<std::string> header;
    std::vector<std::vector<double>> rows;
    std::size_t Column(const std::string& name) const
    {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    }
};

Csv ReadCsv(const std::string& path)
{
    Csv csv;
    std::istringstream lines(ReadFile(path));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::string field;
        std::vector<std::string> texts;
        while (std::getline(fields, field, ',')) texts.push_back(field);
        if (csv.header.empty()) {
            csv.header = texts;
            continue;
        }
        std::vector<double> row;
        for (const auto& text : texts) row.push_back(std::stod(text));
        csv.rows.push_back(row);
    }
    return csv;
}

// The README's experiment: a PI step of the water level bench to 50 %, run once for the tests that read it.
class WaterLevelStep : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_console = new Console;
        s_status =
            s_console->Run({"--banc", "niveaueau", "--kp", "2", "--ti", "20", "--echelon", "50", "--duree", "320",
                            "--vitesse", "200", "--csv", "n.csv", "--png", "n.png", "--archive", "n.tbc"});
        s_csv = ReadCsv(s_console->File("n.csv"));
    }
    static void TearDownTestSuite() { delete s_console; }
    static double At(std::size_t row, const char* column) { return s_csv.rows[row][s_csv.Column(column)]; }

    static Console* s_console;
    static int s_status;
    static Csv s_csv;
};

Console* WaterLevelStep::s_console = nullptr;
int WaterLevelStep::s_status = -1;
Csv WaterLevelStep::s_csv;

}  // namespace

TEST_F(WaterLevelStep, ReachesItsSetpointAndSummarisesTheResponseFromTheRecording)
{
    ASSERT_EQ(s_status, 0) << s_console->m_errors;
    ASSERT_EQ(s_csv.rows.size(), 640u);
    const std::size_t last = s_csv.rows.size() - 1;
    const double start = At(0, "mesure_pct");
    // The summary's figures, worked out again from the CSV: the final value is the mean of the last fifth.
    double sum = 0;
    for (std::size_t i = 512; i <= last; ++i) sum += At(i, "mesure_pct");
    const double final = sum / 128;
    EXPECT_NEAR(final, 50, 0.5);  // within 1 % of the setpoint
    double peak = start;
    for (std::size_t i = 0; i <= last; ++i) peak = std::max(peak, At(i, "mesure_pct"));
    // When the level first made a share of its change, between two points.
    const auto reaches = [&](double share) {
        const auto made = [&](std::size_t i) { return (At(i, "mesure_pct") - start) / (final - start); };
        std::size_t i = 0;
        while (made(i) < share) ++i;
        return i == 0 ? 0.0 : (i - 1 + (share - made(i - 1)) / (made(i) - made(i - 1))) * 0.5;
    };
    const std::string& summary = s_console->m_output;
    EXPECT_NE(summary.find(Utf8(tarvic::Format("Valeur finale : %.2f %% (moyenne des 128 derniers points ; consigne "
                                               "50.00 %%, d\xE9part 0.00 %%)\n",
                                               final))),
              std::string::npos)
        << summary;
    EXPECT_NE(
        summary.find(Utf8(tarvic::Format("D\xE9passement : %.1f %% de l'\xE9" "chelon de consigne (maximum %.2f %%, "
                                         "valeur finale %.2f %%)\n",
                                         (peak - 50) / (50 - start) * 100, peak, final))),
        std::string::npos);
    EXPECT_NE(summary.find(Utf8(
                  tarvic::Format("Temps de mont\xE9" "e (10 \xE0 90 %%) : %.1f s\n", reaches(0.9) - reaches(0.1)))),
              std::string::npos);
    // Settled: out of the 5 % band at the point the time names (to the tenth of a second shown), in it after.
    const std::string settling = Utf8("Temps d'\xE9tablissement \xE0 5 % : ");
    const std::size_t at = summary.find(settling);
    ASSERT_NE(at, std::string::npos);
    const double point = std::stod(summary.substr(at + settling.size())) / 0.5;
    const auto outside = [&](std::size_t i) { return std::fabs(At(i, "mesure_pct") - final) > 0.05 * (final - start); };
    const auto before = static_cast<std::size_t>(std::floor(point - 0.1)),
               after = static_cast<std::size_t>(std::floor(point + 0.1));
    EXPECT_TRUE(outside(before) || outside(after));
    for (std::size_t i = after + 1; i <= last; ++i) EXPECT_FALSE(outside(i)) << i;
    EXPECT_NE(summary.find("  Correcteur: PID K1= 2.00, Ti= 20.00 s, K2= 1.000\n"), std::string::npos);  // no markup
    EXPECT_EQ(summary.find('\\'), std::string::npos);
}

TEST_F(WaterLevelStep, CsvHeaderAndFirstLines)
{
    const std::string csv = ReadFile(s_console->File("n.csv"));
    const std::string start =
        "temps_s,consigne_pct,mesure_pct,commande_pct,erreur_pct,terme_p_pct,terme_i_pct,terme_d_pct,"
        "commande_bo_pct,pompe_pct,debit_pct,niveau1_pct,niveau2_pct,echantillon_nb\r\n"
        "0.000,50,0,100,50,100,0,0,0,100,0,0,0,0\r\n"
        "0.500,50,1.5625,98.069855,48.4375,96.875,1.194853,0,0,98.069855,100,1.5567765,0.09157509,1\r\n";
    EXPECT_EQ(csv.substr(0, start.size()), start);
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
}

TEST_F(WaterLevelStep, TheArchiveIsReadBackToTheSameCsvAndTheSamePicture)
{
    std::string output, errors;
    EXPECT_EQ(RunProgram({"--ouvrir", "n.tbc", "--csv", "relu.csv", "--png", "relu.png"}, s_console->m_folder.Path(),
                         &output, &errors, s_console->Environment()),
              0)
        << errors;
    EXPECT_EQ(ReadFile(s_console->File("relu.csv")), ReadFile(s_console->File("n.csv")));
    EXPECT_EQ(ReadFile(s_console->File("relu.png")), ReadFile(s_console->File("n.png")));
    EXPECT_EQ(output, s_console->m_output);  // the same summary
    EXPECT_EQ(errors, Utf8("Fichiers \xE9" "crits : relu.csv, relu.png\n"));
}

TEST_F(WaterLevelStep, TheArchiveReadBackGivesItsFiguresAsJson)
{
    std::string output, errors;
    EXPECT_EQ(RunProgram({"--ouvrir", "n.tbc", "--json", "n.json"}, s_console->m_folder.Path(), &output, &errors,
                         s_console->Environment()),
              0)
        << errors;
    EXPECT_EQ(errors, Utf8("Fichiers \xE9" "crits : n.json\n"));
    EXPECT_EQ(output, s_console->m_output);
    const nlohmann::json json = nlohmann::json::parse(ReadFile(s_console->File("n.json")));
    EXPECT_EQ(json["banc"], "niveaueau");
    EXPECT_EQ(json["mode"], "pid");
    EXPECT_EQ(json["periode_s"], 0.5);
    EXPECT_EQ(json["blocs_acquis"], 20);
    const nlohmann::json& step = json["resume"];
    EXPECT_EQ(step["verdict"], "etablie");
    EXPECT_EQ(step["consigne"], 50.0);
    double sum = 0;
    for (std::size_t i = 512; i < 640; ++i) sum += At(i, "mesure_pct");
    EXPECT_NEAR(step["valeur_finale"].get<double>(), sum / 128, 1e-4);
    EXPECT_TRUE(step["temps_etablissement_s"].is_number());
    EXPECT_FALSE(json.contains("modele"));  // nothing identified of a closed loop
}

TEST_F(WaterLevelStep, ForAFrenchSpreadsheetTheCsvTakesSemicolonsAndDecimalCommas)
{
    std::string output, errors;
    EXPECT_EQ(RunProgram({"--ouvrir", "n.tbc", "--csv", "fr.csv", "--csv-format", "fr"}, s_console->m_folder.Path(),
                         &output, &errors, s_console->Environment()),
              0)
        << errors;
    const std::string csv = ReadFile(s_console->File("fr.csv"));
    const std::string start =
        "\xEF\xBB\xBF" "temps_s;consigne_pct;mesure_pct;commande_pct;erreur_pct;terme_p_pct;terme_i_pct;terme_d_pct;"
        "commande_bo_pct;pompe_pct;debit_pct;niveau1_pct;niveau2_pct;echantillon_nb\r\n"
        "0,000;50;0;100;50;100;0;0;0;100;0;0;0;0\r\n"
        "0,500;50;1,5625;98,069855;48,4375;96,875;1,194853;0;0;98,069855;100;1,5567765;0,09157509;1\r\n";
    EXPECT_EQ(csv.substr(0, start.size()), start);
    // Every field as in the usual file, but for the separator and the point.
    std::string usual = ReadFile(s_console->File("n.csv"));
    for (char& c : usual) c = c == ',' ? ';' : (c == '.' ? ',' : c);
    EXPECT_EQ(csv, "\xEF\xBB\xBF" + usual);
}

TEST_F(WaterLevelStep, AnArchiveIsReplacedByNothingButAnArchive)
{
    const std::string archive = ReadFile(s_console->File("n.tbc"));
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    for (const Case& c : {
             Case{{"--ouvrir", "n.tbc", "--csv", "n.tbc"},
                  "--csv n.tbc : c'est l'archive ouverte, elle serait \xE9" "cras\xE9" "e."},
             Case{{"--ouvrir", "./n.tbc", "--png", "relu.png", "--archive", "n.tbc"},
                  "--archive n.tbc : c'est l'archive ouverte, elle serait \xE9" "cras\xE9" "e."},
             Case{{"--banc", "niveaueau", "--csv", "n.tbc"},
                  "--csv n.tbc est une archive d'essai : seule une archive peut la remplacer."},
             Case{{"--banc", "niveaueau", "--png", "tarvic/../n.tbc"},
                  "--png tarvic/../n.tbc est une archive d'essai : seule une archive peut la remplacer."},
             Case{{"--ouvrir", "n.tbc", "--json", "n.tbc"},
                  "--json n.tbc : c'est l'archive ouverte, elle serait \xE9" "cras\xE9" "e."},
             Case{{"--banc", "niveaueau", "--json", "n.tbc"},
                  "--json n.tbc est une archive d'essai : seule une archive peut la remplacer."},
         }) {
        std::string output, errors;
        EXPECT_EQ(RunProgram(c.arguments, s_console->m_folder.Path(), &output, &errors, s_console->Environment()), 2)
            << c.error;
        EXPECT_EQ(errors, Utf8("tarvic-banc : " + c.error + "\n"));
        EXPECT_EQ(output, "");
    }
    EXPECT_EQ(ReadFile(s_console->File("n.tbc")), archive);
}

TEST_F(WaterLevelStep, ThePictureShowsTheThreeCurves)
{
    const QImage image(QString::fromLocal8Bit(s_console->File("n.png").c_str()));
    ASSERT_EQ(image.size(), QSize(960, 560));
    // 10 s in, where the three curves are apart: each in its colour where the axes put it.
    const std::size_t point = 20;
    const int x = 80 + static_cast<int>(point) * 800 / 640;
    const auto y = [&](const char* column) {
        return static_cast<int>(-360.0f * (At(point, column) / 100.0f) + 430.0f);
    };
    EXPECT_EQ(image.pixelColor(x, y("consigne_pct")), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(x, y("commande_pct")), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(x, y("mesure_pct")), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(x, 300), QColor(255, 255, 255));  // and nothing else there
}

TEST_F(WaterLevelStep, AnArchiveWithAByteChangedIsRefusedAndOneWithoutItsCheckSaysSo)
{
    const std::string archive = ReadFile(s_console->File("n.tbc"));
    std::string flipped = archive;
    flipped[archive.size() - 100] = static_cast<char>(flipped[archive.size() - 100] ^ 0x04);  // in the last block
    std::ofstream(s_console->File("abime.tbc"), std::ios::binary) << flipped;
    std::string output, errors;
    EXPECT_EQ(RunProgram({"--ouvrir", "abime.tbc", "--csv", "abime.csv"}, s_console->m_folder.Path(), &output, &errors,
                         s_console->Environment()),
              3);
    EXPECT_EQ(errors, Utf8("tarvic-banc : abime.tbc est endommag\xE9" "e : son contenu ne correspond plus \xE0 sa "
                           "somme de contr\xF4le.\n"));
    EXPECT_EQ(output, "");
    EXPECT_FALSE(std::filesystem::exists(s_console->File("abime.csv")));

    // Without its check, as an older console wrote it: opened, and said unchecked.
    std::ofstream(s_console->File("nu.tbc"), std::ios::binary) << archive.substr(0, archive.size() - 16);
    EXPECT_EQ(RunProgram({"--ouvrir", "nu.tbc", "--csv", "nu.csv"}, s_console->m_folder.Path(), &output, &errors,
                         s_console->Environment()),
              0);
    EXPECT_EQ(errors, Utf8("nu.tbc n'a pas de somme de contr\xF4le (archive d'une version ant\xE9rieure ou d'une autre "
                           "application) : son contenu n'a pas pu \xEAtre v\xE9rifi\xE9.\n"
                           "Fichiers \xE9" "crits : nu.csv\n"));
    EXPECT_EQ(output, s_console->m_output);
    EXPECT_EQ(ReadFile(s_console->File("nu.csv")), ReadFile(s_console->File("n.csv")));
}

TEST_F(WaterLevelStep, OnAFullDiskTheFilesStayAsTheyWereAndTheStatusIs3)
{
    banc::test::SmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "a 64 KiB tmpfs cannot be mounted here (root only): no full disk to write on";
    const std::string csv = disk.File("r.csv"), picture = disk.File("r.png"), archive = disk.File("r.tbc");
    for (const std::string& path : {csv, picture, archive}) std::ofstream(path) << "ancien " << path;
    disk.Fill();
    std::string output, errors;
    EXPECT_EQ(RunProgram({"--ouvrir", "n.tbc", "--csv", csv, "--png", picture, "--archive", archive},
                         s_console->m_folder.Path(), &output, &errors, s_console->Environment()),
              3);
    // Each file named with the reason, none said written.
    EXPECT_EQ(errors, Utf8("tarvic-banc : Impossible d'\xE9" "crire " + csv +
                           " : disque plein.\n"
                           "tarvic-banc : Impossible d'\xE9" "crire l'image " +
                           picture +
                           " : disque plein.\n"
                           "tarvic-banc : Impossible d'\xE9" "crire l'archive " +
                           archive + " : disque plein.\n"));
    EXPECT_EQ(output, s_console->m_output);
    for (const std::string& path : {csv, picture, archive}) EXPECT_EQ(ReadFile(path), "ancien " + path);
    EXPECT_EQ(disk.Files(), (std::vector<std::string>{"r.csv", "r.png", "r.tbc"}));
}

TEST(Console, ACsvThatFillsTheDiskDuringTheRunKeepsItsWholeRowsAndTheStatusIs3)
{
    banc::test::SmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "a 64 KiB tmpfs cannot be mounted here (root only): no full disk to write on";
    Console console;
    const std::string csv = disk.File("r.csv");
    disk.Fill(8192);
    EXPECT_EQ(console.Run({"--banc", "debitair", "--duree", "80", "--vitesse", "200", "--csv", csv, "--png", "r.png"}),
              3);
    const std::string said =
        Utf8("tarvic-banc : Impossible d'\xE9" "crire " + csv + " en entier : disque plein ; il garde ses ");
    const std::size_t at = console.m_errors.find(said);
    ASSERT_NE(at, std::string::npos) << console.m_errors;
    const int lines = std::stoi(console.m_errors.substr(at + said.size()));
    EXPECT_EQ(lines % 32, 0);
    EXPECT_LT(lines, 10 * 32);
    EXPECT_NE(console.m_errors.find(Utf8(tarvic::Format(" %d premi\xE8res lignes de mesures.\n"
                                                        "Fichiers \xE9" "crits : r.png\n",
                                                        lines))),
              std::string::npos)
        << console.m_errors;
    const std::string kept = ReadFile(csv);
    EXPECT_EQ(ReadCsv(csv).rows.size(), static_cast<std::size_t>(lines));
    EXPECT_EQ(kept.substr(kept.size() - 2), "\r\n");
    EXPECT_EQ(disk.Files(), std::vector<std::string>{"r.csv"});
}

TEST(Console, OpenLoopStepOnTheAirFlowBench)
{
    Console console;
    ASSERT_EQ(console.Run({"--banc", "debitair", "--mode", "bo", "--echelon", "60", "--duree", "16", "--vitesse", "50",
                           "--csv", "d.csv"}),
              0)
        << console.m_errors;
    const Csv csv = ReadCsv(console.File("d.csv"));
    ASSERT_EQ(csv.rows.size(), 320u);  // 10 blocks of 1.6 s
    const std::size_t measure = csv.Column("mesure_pct"), command = csv.Column("commande_pct");
    // The fan's command steps to 60 % after the 0.4 s delay; the flow follows with its 1 s lag.
    EXPECT_EQ(csv.rows[4][command], 0);
    EXPECT_NEAR(csv.rows[8][command], 60, 0.02);  // 1958 counts
    std::size_t step = 0;
    while (csv.rows[step][command] == 0) ++step;
    EXPECT_NEAR(csv.rows[step + 20][measure], 60 * (1 - std::exp(-1.0)), 2);
    EXPECT_NEAR(csv.rows.back()[measure], 60, 0.3);
    // A first order of 1 s rises from 10 to 90 % in ln 9 = 2.197 s, written to the 50 ms points' hundredths.
    EXPECT_NE(console.m_output.find(Utf8("Temps de mont\xE9" "e (10 \xE0 90 %) : 2.20 s\n")), std::string::npos)
        << console.m_output;
    EXPECT_NE(console.m_output.find(Utf8("  Processus:Commande D\xE9" "bit\n")), std::string::npos);
}

TEST(Console, SpeedStepOfTheMotorBenchInTheBenchsUnits)
{
    Console console;
    ASSERT_EQ(
        console.Run({"--banc", "iapv", "--echelon", "1500", "--duree", "1.28", "--vitesse", "10", "--csv", "m.csv"}), 0)
        << console.m_errors;
    const std::string header =
        "temps_s,consigne_trmin,mesure_trmin,commande_pct,erreur_trmin,terme_p_pct,terme_i_pct,tension_v,"
        "courant_ma,position_lignes,vitesse_fronts,courant_charge_ma,echantillon_nb\r\n";
    EXPECT_EQ(ReadFile(console.File("m.csv")).substr(0, header.size()), header);
    const Csv csv = ReadCsv(console.File("m.csv"));
    ASSERT_EQ(csv.rows.size(), 128u);  // 4 blocks of 32 points 10 ms apart
    // The card's speeds are whole edges a window, the nearest to what was asked: 16 at rest (500 tr/min,
    // 16.3 edges), 49 after the step (1500 tr/min, 48.8 edges).
    const double edge = 60000.0 / (4 * 100 * 5 * 0.9765);
    EXPECT_NEAR(csv.rows[0][csv.Column("consigne_trmin")], 16 * edge, 1e-3);
    EXPECT_NEAR(csv.rows.back()[csv.Column("consigne_trmin")], 49 * edge, 1e-3);
    for (const auto& row : csv.rows) {
        EXPECT_NEAR(row[csv.Column("erreur_trmin")],
                    row[csv.Column("consigne_trmin")] - row[csv.Column("mesure_trmin")], 0.01);
        EXPECT_LE(std::fabs(row[csv.Column("commande_pct")]), 100);
    }
    EXPECT_GT(csv.rows.back()[csv.Column("mesure_trmin")], 500);  // the motor speeds up, some 1800 tr/min a second
    EXPECT_NE(console.m_output.find(tarvic::Format("consigne %.2f tr/min", 49 * edge)), std::string::npos)
        << console.m_output;
}

TEST(Console, AnAxisArchiveReadBackShowsItsSetpointInDegrees)
{
    Console console;
    ASSERT_EQ(console.Run(
                  {"--banc", "axnum", "--echelon", "144", "--duree", "0.32", "--vitesse", "10", "--archive", "a.tbc"}),
              0)
        << console.m_errors;
    const std::string generator = Utf8("  Consigne: Echelon, Valeur Repos = 0 \xB0,Val. C =144 \xB0 Retard =0.100 s\n");
    EXPECT_NE(console.m_output.find(generator), std::string::npos) << console.m_output;
    const std::string run = console.m_output;
    ASSERT_EQ(console.Run({"--ouvrir", "a.tbc"}), 0) << console.m_errors;
    EXPECT_NE(console.m_output.find(generator), std::string::npos) << console.m_output;
    EXPECT_EQ(console.m_output, run);
}

TEST(Console, RefusedCommandLinesSayWhyAndRunNothing)
{
    Console console;
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    for (const Case& c : {
             Case{{"--banc", "niveaueau", "--kp", "64"}, "--kp 64 : hors limites, de 0,001 \xE0 63,999."},
             Case{{"--banc", "niveaueau", "--kp=abc"}, "Valeur invalide pour --kp : \xAB abc \xBB."},
             Case{{"--banc", "niveaueau", "--ci-debit", "5"},
                  "Le param\xE8tre --ci-debit n'existe pas sur le banc niveaueau."},
             Case{{"--banc", "tour"}, "Banc inconnu : tour (niveaueau, debitair, axnum, iapv, synum)."},
             Case{{"--banc", "debitair", "--mode", "position"},
                  "Mode inconnu pour le banc debitair : position (pid, bo, tor, corz)."},
             Case{{"--kp", "2"}, "Choisissez le banc : --banc niveaueau, debitair, axnum, iapv, synum."},
             Case{{"--banc", "niveaueau", "--gain", "2"}, "Option inconnue : --gain (voir tarvic-banc --help)."},
             Case{{"--banc", "niveaueau", "--port", "COM1", "--vitesse", "5"},
                  "--vitesse, --bruit et --graine ne valent que pour la carte simul\xE9" "e, pas avec --port."},
             Case{{"--ouvrir", "n.tbc", "--kp", "2"},
                  "--ouvrir ne se combine qu'avec --csv, --csv-format, --png, --archive et --json."},
             Case{{"--banc", "niveaueau", "--csv-format", "fr"}, "--csv-format ne vaut qu'avec --csv."},
             Case{{"--banc", "niveaueau", "--csv", "x.csv", "--csv-format", "tableur"},
                  "Format CSV inconnu : tableur (rfc4180, fr)."},
         }) {
        EXPECT_EQ(console.Run(c.arguments), 2) << c.error;
        EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : " + c.error + "\n"));
        EXPECT_EQ(console.m_output, "");
    }
    // Nothing was kept of a refused experiment.
    EXPECT_FALSE(std::ifstream(console.File("tarvic/tarvic-banc-niveaueau.ini")).good());
}

TEST(Console, EmptyFileAndPortNamesAreCommandLineErrors)
{
    Console console;
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    // A short run on a fast card, should one start all the same.
    const auto run = [](std::initializer_list<std::string> more) {
        std::vector<std::string> arguments{"--banc", "niveaueau", "--duree", "2", "--vitesse", "1000"};
        arguments.insert(arguments.end(), more);
        return arguments;
    };
    for (const Case& c : {
             Case{run({"--port", ""}), "--port : le nom du port est vide."},
             Case{{"--ouvrir", ""}, "--ouvrir : le nom du fichier est vide."},
             Case{run({"--csv="}), "--csv : le nom du fichier est vide."},
             Case{run({"--png", ""}), "--png : le nom du fichier est vide."},
             Case{run({"--archive", ""}), "--archive : le nom du fichier est vide."},
             Case{run({"--prof", ""}), "--profil : le nom du fichier est vide."},
         }) {
        EXPECT_EQ(console.Run(c.arguments), 2) << c.error;
        EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : " + c.error + "\n"));
        EXPECT_EQ(console.m_output, "");
    }
    EXPECT_FALSE(std::ifstream(console.File("tarvic/tarvic-banc-niveaueau.ini")).good());
}

TEST(Console, OnlyARegularFileIsOpenedTheOthersAreRefusedAtOnceWithTheirKind)
{
    Console console;
    ASSERT_EQ(::mkfifo(console.File("essai.tbc").c_str(), 0600), 0);
    // Its other end held open: a console that waited for a writer would not hang the test.
    const int otherEnd = ::open(console.File("essai.tbc").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(otherEnd, 0);
    EXPECT_EQ(console.Run({"--ouvrir", "essai.tbc"}), 3);
    EXPECT_EQ(console.m_errors, "tarvic-banc : Impossible de lire essai.tbc : c'est un tube.\n");
    ::close(otherEnd);
    EXPECT_EQ(console.Run({"--ouvrir", "/dev/null"}), 3);
    EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : Impossible de lire /dev/null : c'est un p\xE9riph\xE9rique.\n"));
    EXPECT_EQ(console.m_output, "");
}

TEST(Console, AMissingPortIsNamed)
{
    Console console;
    EXPECT_EQ(console.Run({"--banc", "niveaueau", "--port", "/dev/ttyUSB-absent"}), 3);
    EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : Port /dev/ttyUSB-absent introuvable.\n"));
}

TEST(Console, AFolderGivenAsThePortIsSaidInFrench)
{
    Console console;
    EXPECT_EQ(console.Run({"--banc", "niveaueau", "--port", console.m_folder.Path()}), 3);
    EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : " + console.m_folder.Path() + " n'est pas un port s\xE9rie.\n"));
}

TEST(Console, ValuesOutOfTheOptionsLimitsSayTheLimits)
{
    Console console;
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    for (const Case& c : {
             Case{{"--banc", "niveaueau", "--vitesse", "1e9"},
                  "--vitesse 1e9 : hors limites, plus de 0 et jusqu'\xE0 10000."},
             Case{{"--banc", "niveaueau", "--vitesse", "0"},
                  "--vitesse 0 : hors limites, plus de 0 et jusqu'\xE0 10000."},
             Case{{"--banc", "niveaueau", "--bruit", "150"}, "--bruit 150 : hors limites, de 0 \xE0 100 %."},
             Case{{"--banc", "niveaueau", "--delai-reponse", "5"},
                  "--delai-reponse 5 : hors limites, de 10 \xE0 60000 ms."},
             Case{{"--banc", "niveaueau", "--graine", "2,5"}, "--graine 2,5 : un nombre entier de 0 \xE0 4294967295."},
             Case{{"--banc", "niveaueau", "--duree", "-3"}, "--duree -3 : hors limites, plus de 0 s."},
             Case{{"--banc", "niveaueau", "--ti", "1e-7"}, "--ti 0,0000001 : hors limites, de 0,0078125 \xE0 500."},
         }) {
        EXPECT_EQ(console.Run(c.arguments), 2) << c.error;
        EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : " + c.error + "\n"));
    }
}

TEST(Console, ACardThatRefusesTheBenchsFirstLineIsNamedAndUnusable)
{
    Console console;
    tarvic::test::ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        return line == "?VER" ? "!VER CARDSIM 1.0" : "!Erreur";
    });
    EXPECT_EQ(console.Run({"--banc", "debitair", "--port", card.Path()}), 3);
    EXPECT_EQ(
        console.m_errors,
        Utf8("tarvic-banc : La carte qui r\xE9pond se pr\xE9sente comme \xAB CARDSIM 1.0 \xBB et a refus\xE9 la "
             "premi\xE8re ligne du banc debitair (\xAB DFS14 \xBB, r\xE9ponse !Erreur) : ce n'est pas la carte de ce "
             "banc.\n"));
    EXPECT_EQ(card.Lines(), (std::vector<std::string>{"!DFS14", "?VER"}));
    // Nothing ran: no summary of a response that never was.
    EXPECT_EQ(console.m_output, "");
}

TEST(Console, SettingsThatCannotBeKeptSayWhyInFrench)
{
    Console console;
    const std::string profile = console.File("profil.ini");
    ASSERT_EQ(::mkdir(profile.c_str(), 0755), 0);
    EXPECT_EQ(console.Run({"--banc", "niveaueau", "--profil", profile, "--duree", "8", "--vitesse", "100"}), 0);
    EXPECT_EQ(console.m_errors.substr(0, console.m_errors.find('\n') + 1),
              Utf8("tarvic-banc : Les r\xE9glages n'ont pas pu \xEAtre gard\xE9s dans " + profile +
                   " : c'est un dossier.\n"));
}

TEST(Console, AProfileGivenAsALinkStaysALinkAndItsTargetKeepsTheSettings)
{
    Console console;
    const std::string shared = console.File("commun.ini");
    std::ofstream(shared) << "[SALLE]\nPOSTE=12\n";
    ASSERT_EQ(::chmod(shared.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("commun.ini", console.File("lien.ini").c_str()), 0);
    ASSERT_EQ(
        console.Run({"--banc", "niveaueau", "--profil", "lien.ini", "--kp", "2.5", "--duree", "8", "--vitesse", "100"}),
        0)
        << console.m_errors;
    char target[64] = {};
    EXPECT_EQ(::readlink(console.File("lien.ini").c_str(), target, sizeof target - 1), 10);
    EXPECT_STREQ(target, "commun.ini");
    const std::string kept = ReadFile(shared);
    EXPECT_EQ(kept.substr(0, 18), "[SALLE]\nPOSTE=12\n\n");
    EXPECT_NE(kept.find("\nKP=2.500\n"), std::string::npos) << kept;
    struct stat file{};
    ASSERT_EQ(::stat(shared.c_str(), &file), 0);
    EXPECT_EQ(file.st_mode & 07777, 0640u);
}

TEST(Console, TheHelpAndTheStatusAgreeOnAnUnusableCard)
{
    Console console;
    ASSERT_EQ(console.Run({"--help"}), 0);
    EXPECT_NE(console.m_output.find(Utf8("3 port, carte\nsimul\xE9" "e ou fichier inaccessible, ou carte inutilisable "
                                         "(muette d\xE8s la premi\xE8re\nligne, ou qui la refuse")),
              std::string::npos)
        << console.m_output;
}

TEST(Console, ACardThatHangsUpMidRunEndsCleanlyWithTheBlocksAcquiredInTheCsv)
{
    Console console;
    EXPECT_EQ(console.Run({"--banc", "debitair", "--duree", "16", "--vitesse", "10", "--csv", "h.csv"},
                          {console.FaultyCard("--hangup-after 100")}),
              1);
    const std::string lost = Utf8("La liaison avec la carte est perdue : le port /dev/pts/");
    EXPECT_NE(console.m_errors.find(lost), std::string::npos) << console.m_errors;
    const std::string kept = console.m_errors.substr(console.m_errors.find(Utf8("ferm\xE9. ")) + 8);
    const int blocks = std::stoi(kept);
    EXPECT_GE(blocks, 1);
    EXPECT_LT(blocks, 10);
    EXPECT_EQ(ReadCsv(console.File("h.csv")).rows.size(), static_cast<std::size_t>(32 * blocks));
    EXPECT_NE(console.m_output.find(tarvic::Format("Blocs acquis : %d sur 10", blocks)), std::string::npos);
}

TEST(Console, ACardSilentFromItsFirstLineIsUnusableAfterThreeTries)
{
    Console console;
    EXPECT_EQ(console.Run({"--banc", "debitair", "--delai-reponse", "100", "--csv", "s.csv"},
                          {console.FaultyCard("--silent")}),
              3);
    EXPECT_NE(console.m_errors.find(Utf8("tarvic-banc : La carte ne r\xE9pond pas : \xAB DFS14 \xBB envoy\xE9 3 fois, "
                                         "chaque fois sans r\xE9ponse au bout de 0,1 s (0,3 s en tout).\n")),
              std::string::npos)
        << console.m_errors;
    // Nothing acquired, nothing written.
    EXPECT_FALSE(std::filesystem::exists(console.File("s.csv")));
}

TEST(Console, ACardThatTakesTheConfigurationButNeverGivesABlockWritesNothing)
{
    Console console;
    // Every order taken, every request left unanswered.
    tarvic::test::ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        if (line[0] == '!') return "!OK";
        return std::nullopt;
    });
    EXPECT_EQ(console.Run({"--banc", "debitair", "--port", card.Path(), "--delai-reponse", "100", "--csv", "v.csv",
                           "--png", "v.png", "--archive", "v.tbc"}),
              3);
    const std::string end = Utf8(" Aucun bloc acquis : aucun fichier n'est \xE9" "crit.\n");
    ASSERT_GE(console.m_errors.size(), end.size());
    EXPECT_EQ(console.m_errors.substr(console.m_errors.size() - end.size()), end) << console.m_errors;
    EXPECT_NE(console.m_errors.find(Utf8("tarvic-banc : La carte ne r\xE9pond plus")), std::string::npos)
        << console.m_errors;
    for (const char* name : {"v.csv", "v.png", "v.tbc"})
        EXPECT_FALSE(std::filesystem::exists(console.File(name))) << name;
    EXPECT_EQ(console.m_output, "");
}

TEST(Console, CtrlCStopsTheCardsLoopAndKeepsWhatWasAcquired)
{
    Console console;
    ProgramRun run({"--banc", "niveaueau", "--duree", "320", "--vitesse", "20", "--csv", "c.csv"},
                   console.m_folder.Path(), console.Environment());
    ASSERT_TRUE(run.WaitForError("Bloc 1/20")) << run.Errors();
    run.Interrupt();  // to the console's whole process group, as a terminal does
    EXPECT_EQ(run.Finish(), 130);
    EXPECT_NE(run.Errors().find(Utf8("tarvic-banc : Essai interrompu. ")), std::string::npos) << run.Errors();
    const std::size_t rows = ReadCsv(console.File("c.csv")).rows.size();
    EXPECT_GE(rows, 32u);
    EXPECT_EQ(rows % 32, 0u);
    EXPECT_NE(run.Output().find(tarvic::Format("Blocs acquis : %zu sur 20", rows / 32)), std::string::npos);
}

TEST(Console, OneCtrlCOnASilentCardGivesUpTheWaitStopsTheLoopAndKeepsTheBlocks)
{
    Console console;
    // After the first block the card answers nothing, not even the order that stops its loop.
    std::atomic<bool> silent{false};
    tarvic::test::ScriptedCard card([&](const std::string& line) -> std::optional<std::string> {
        if (silent) return std::nullopt;
        silent = line == "?TSF00";
        return banc::test::CardAnswer(line);
    });
    ProgramRun run(
        {"--banc", "debitair", "--duree", "3.2", "--delai-reponse", "1000", "--port", card.Path(), "--csv", "s.csv"},
        console.m_folder.Path(), console.Environment());
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return !card.LinesFrom("?TEM01").empty(); })) << run.Errors();
    run.Interrupt();  // once
    EXPECT_EQ(run.Finish(), 130);
    // The request waited on is not sent again; the loop's stop gets its one try.
    EXPECT_EQ(card.LinesFrom("?TSF00"), (std::vector<std::string>{"?TSF00", "?TEM01", "!RS"}));
    EXPECT_NE(run.Errors().find(Utf8("tarvic-banc : Essai interrompu. 1 bloc sur 2 gard\xE9.\n")), std::string::npos)
        << run.Errors();
    EXPECT_EQ(ReadCsv(console.File("s.csv")).rows.size(), 32u);
    EXPECT_NE(run.Output().find("Blocs acquis : 1 sur 2"), std::string::npos) << run.Output();
}

TEST(Console, OutputsNamingOneFileOrTheFilesItReadsAreRefusedBeforeAnythingIsWritten)
{
    Console console;
    ASSERT_EQ(::mkdir(console.File("sous").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("cible.png", console.File("lien.csv").c_str()), 0);
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    const std::string same = " sont un m\xEAme fichier : l'un \xE9" "craserait l'autre.";
    for (const Case& c : {
             Case{{"--banc", "niveaueau", "--csv", "x.csv", "--png", "x.csv"}, "--csv x.csv et --png x.csv" + same},
             Case{{"--banc", "niveaueau", "--csv", "x.csv", "--archive", "sous/../x.csv"},
                  "--csv x.csv et --archive sous/../x.csv" + same},
             Case{{"--banc", "niveaueau", "--csv", "lien.csv", "--png", "cible.png"},
                  "--csv lien.csv et --png cible.png" + same},
             Case{{"--banc", "niveaueau", "--png", console.File("x.png"), "--archive", "x.png"},
                  "--png " + console.File("x.png") + " et --archive x.png" + same},
             Case{{"--banc", "niveaueau", "--profil", "p.ini", "--csv", "sous/../p.ini"},
                  "--csv sous/../p.ini : c'est le profil des r\xE9glages, il serait \xE9" "cras\xE9."},
             Case{{"--banc", "niveaueau", "--profil", "p.ini", "--json", "p.ini"},
                  "--json p.ini : c'est le profil des r\xE9glages, il serait \xE9" "cras\xE9."},
             Case{{"--ouvrir", "a.tbc", "--csv", "a.tbc"},
                  "--csv a.tbc : c'est l'archive ouverte, elle serait \xE9" "cras\xE9" "e."},
         }) {
        EXPECT_EQ(console.Run(c.arguments), 2) << c.error;
        EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : " + c.error + "\n"));
        EXPECT_EQ(console.m_output, "");
    }
    for (const char* name : {"x.csv", "x.png", "cible.png", "p.ini", "a.tbc", "tarvic/tarvic-banc-niveaueau.ini"})
        EXPECT_FALSE(std::ifstream(console.File(name)).good()) << name;
}

TEST(Console, AHangUpStopsTheCardsLoopAndKeepsWhatWasAcquiredAsCtrlCDoes)
{
    Console console;
    const std::string log = console.File("carte.log");
    ProgramRun run({"--banc", "niveaueau", "--duree", "320", "--vitesse", "20", "--csv", "h.csv", "--archive", "h.tbc"},
                   console.m_folder.Path(), console.Environment({console.FaultyCard("--log " + log)}));
    ASSERT_TRUE(run.WaitForError("Bloc 1/20")) << run.Errors();
    run.Send(SIGHUP);  // the terminal closed, or kill -HUP
    EXPECT_EQ(run.Finish(), 130);
    EXPECT_NE(run.Errors().find(Utf8("tarvic-banc : Essai interrompu. ")), std::string::npos) << run.Errors();
    // The card's loop stopped: its order "RS" is the last line the card was sent.
    std::istringstream lines(ReadFile(log));
    std::string line, last;
    while (std::getline(lines, line))
        if (line.rfind("> ", 0) == 0) last = line;
    EXPECT_EQ(last, "> !RS");
    const std::size_t rows = ReadCsv(console.File("h.csv")).rows.size();
    EXPECT_GE(rows, 32u);
    EXPECT_EQ(rows % 32, 0u);
    const std::string kept = tarvic::Format("Blocs acquis : %zu sur 20", rows / 32);
    EXPECT_NE(run.Output().find(kept), std::string::npos) << run.Output();
    // The archive holds the same blocks.
    std::string output, errors;
    EXPECT_EQ(RunProgram({"--ouvrir", "h.tbc"}, console.m_folder.Path(), &output, &errors, console.Environment()), 0);
    EXPECT_NE(output.find(kept), std::string::npos) << output;
}

TEST(Console, AHangUpThatTookTheReaderOfTheMessagesStillWritesTheFiles)
{
    Console console;
    ProgramRun run({"--banc", "niveaueau", "--duree", "320", "--vitesse", "20", "--archive", "p.tbc"},
                   console.m_folder.Path(), console.Environment());
    ASSERT_TRUE(run.WaitForError("Bloc 1/20")) << run.Errors();
    run.CloseErrors();  // a pipe to tee, gone with the terminal
    run.Send(SIGHUP);
    EXPECT_EQ(run.Finish(), 130);
    EXPECT_NE(run.Output().find("Blocs acquis : "), std::string::npos) << run.Output();
    std::string output, errors;
    EXPECT_EQ(RunProgram({"--ouvrir", "p.tbc"}, console.m_folder.Path(), &output, &errors, console.Environment()), 0)
        << errors;
    EXPECT_EQ(output, run.Output());  // the same summary, from the archive
}

TEST(Console, FactorySettingsBringBackTheBlockCountAnEarlierDurationSet)
{
    Console console;
    const auto blocks = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--banc", "debitair", "--vitesse", "50"});
        EXPECT_EQ(console.Run(arguments), 0) << console.m_errors;
        const std::size_t at = console.m_output.find("Blocs acquis : ");
        return at == std::string::npos ? std::string() : console.m_output.substr(at, 24);
    };
    EXPECT_EQ(blocks({"--duree", "3.2"}), "Blocs acquis : 2 sur 2 (");
    EXPECT_EQ(blocks({}), "Blocs acquis : 2 sur 2 (");  // the user's length stays for the runs after
    EXPECT_EQ(blocks({"--usine"}), "Blocs acquis : 20 sur 20");
    EXPECT_EQ(blocks({}), "Blocs acquis : 20 sur 20");
    EXPECT_NE(ReadFile(console.File("tarvic/tarvic-banc-debitair.ini")).find("NB_BLOC=20\n"), std::string::npos);
}

TEST(Console, ARunWritesItsCsvForAFrenchSpreadsheetBlockByBlock)
{
    Console console;
    ASSERT_EQ(console.Run(
                  {"--banc", "debitair", "--duree", "3.2", "--vitesse", "50", "--csv", "d.csv", "--csv-format", "fr"}),
              0)
        << console.m_errors;
    const std::string csv = ReadFile(console.File("d.csv"));
    const std::string start = "\xEF\xBB\xBF" "temps_s;consigne_pct;mesure_pct;commande_pct;";
    EXPECT_EQ(csv.substr(0, start.size()), start);
    EXPECT_NE(csv.find("\r\n0,050;"), std::string::npos);  // 50 ms a point
    for (std::size_t at = csv.find(','); at != std::string::npos; at = csv.find(',', at + 1))
        EXPECT_TRUE(std::isdigit(csv[at - 1]) && std::isdigit(csv[at + 1])) << at;  // decimal commas only
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 64);
}

TEST(Console, HelpInFrench)
{
    Console console;
    EXPECT_EQ(console.Run({"--help"}), 0);
    EXPECT_EQ(console.m_output.substr(0, 42), "Usage : tarvic-banc --banc NOM [OPTION]...");
    for (const char* option :
         {"--kp V", "--echelon V", "--repos V", "--duree S", "--port PORT", "--ouvrir ARCHIVE", "--csv-format NOM"})
        EXPECT_NE(console.m_output.find(option), std::string::npos) << option;
}
