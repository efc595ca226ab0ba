#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <cmath>
#include <fstream>
#include <sstream>

#include "BancTestSupport.h"
#include "ProgramRun.h"
#include "tarvic/platform/Text.h"

using banc::test::ProgramRun;
using banc::test::ReadFile;
using banc::test::RunProgram;
using banc::test::TemporaryFolder;

namespace {

// The console writes its Latin-1 texts in the locale's encoding, UTF-8 here.
std::string Utf8(const std::string& latin1) { return QString::fromLatin1(latin1.c_str()).toUtf8().toStdString(); }

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

// A folder of its own for each run: the profile, the outputs, the traces of the generator.
class Console {
public:
    std::vector<std::string> Environment(std::vector<std::string> more = {}) const
    {
        more.push_back("XDG_CONFIG_HOME=" + m_folder.Path());
        more.push_back("QT_QPA_PLATFORM=offscreen");
        return more;
    }
    int Run(const std::vector<std::string>& arguments, std::vector<std::string> environment = {})
    {
        return RunProgram(arguments, m_folder.Path(), &m_output, &m_errors, Environment(std::move(environment)));
    }
    std::string File(const std::string& name) const { return m_folder.File(name); }
    // A simulated card that runs with extra fault options.
    std::string FaultyCard(const std::string& options) const
    {
        const std::string script = File("cardsim-faulty");
        std::ofstream(script) << "#!/bin/sh\nexec " << TARVIC_CARDSIM << " \"$@\" " << options << "\n";
        ::chmod(script.c_str(), 0755);
        return "TARVIC_CARDSIM=" + script;
    }

    TemporaryFolder m_folder;
    std::string m_output, m_errors;
};

// The README's experiment: a PI step of the water level bench to 50 %, run once for the tests that read it.
class WaterLevelStep : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_console = new Console;
        s_status = s_console->Run({"--banc", "niveaueau", "--kp", "2", "--ti", "20", "--echelon", "50", "--duree",
                                   "320", "--vitesse", "200", "--csv", "n.csv", "--png", "n.png", "--archive",
                                   "n.tbc"});
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
    const double final = At(last, "mesure_pct"), start = At(0, "mesure_pct");
    EXPECT_NEAR(final, 50, 0.5);  // within 1 % of the setpoint
    // The summary's figures, worked out again from the CSV.
    double peak = start;
    std::size_t tenth = last, ninth = last;
    for (std::size_t i = 0; i <= last; ++i) {
        const double share = (At(i, "mesure_pct") - start) / (final - start);
        peak = std::max(peak, At(i, "mesure_pct"));
        if (share >= 0.1 && tenth == last) tenth = i;
        if (share >= 0.9 && ninth == last) ninth = i;
    }
    const std::string& summary = s_console->m_output;
    EXPECT_NE(summary.find(Utf8(tarvic::Format("Valeur finale : %.2f %% (consigne 50.00 %%, d\xE9part 0.00 %%)\n", final))),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find(Utf8(tarvic::Format("D\xE9passement : %.1f %%\n", (peak - final) / (final - start) * 100))),
              std::string::npos);
    EXPECT_NE(summary.find(Utf8(tarvic::Format("Temps de mont\xE9" "e (10 \xE0 90 %%) : %.1f s\n", (ninth - tenth) * 0.5))),
              std::string::npos);
    // Settled: in the 5 % band from the point it names on, out of it just before.
    const std::string settling = Utf8("Temps d'\xE9tablissement \xE0 5 % : ");
    const std::size_t at = summary.find(settling);
    ASSERT_NE(at, std::string::npos);
    const auto settled = static_cast<std::size_t>(std::lround(std::stod(summary.substr(at + settling.size())) / 0.5));
    ASSERT_GT(settled, 0u);
    EXPECT_GT(std::fabs(At(settled - 1, "mesure_pct") - final), 0.05 * (final - start));
    for (std::size_t i = settled; i <= last; ++i) EXPECT_LE(std::fabs(At(i, "mesure_pct") - final), 0.05 * (final - start)) << i;
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

TEST_F(WaterLevelStep, ThePictureShowsTheThreeCurves)
{
    const QImage image(QString::fromLocal8Bit(s_console->File("n.png").c_str()));
    ASSERT_EQ(image.size(), QSize(960, 560));
    // 10 s in, where the three curves are apart: each in its colour where the axes put it.
    const std::size_t point = 20;
    const int x = 80 + static_cast<int>(point) * 800 / 640;
    const auto y = [&](const char* column) { return static_cast<int>(-360.0f * (At(point, column) / 100.0f) + 430.0f); };
    EXPECT_EQ(image.pixelColor(x, y("consigne_pct")), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(x, y("commande_pct")), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(x, y("mesure_pct")), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(x, 300), QColor(255, 255, 255));  // and nothing else there
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
    EXPECT_NE(console.m_output.find(Utf8("Temps de mont\xE9" "e (10 \xE0 90 %) : 2.2 s\n")), std::string::npos)
        << console.m_output;
    EXPECT_NE(console.m_output.find(Utf8("  Processus:Commande D\xE9" "bit\n")), std::string::npos);
}

TEST(Console, SpeedStepOfTheMotorBenchInTheBenchsUnits)
{
    Console console;
    ASSERT_EQ(console.Run({"--banc", "iapv", "--echelon", "1500", "--duree", "1.28", "--vitesse", "10", "--csv", "m.csv"}), 0)
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
        EXPECT_NEAR(row[csv.Column("erreur_trmin")], row[csv.Column("consigne_trmin")] - row[csv.Column("mesure_trmin")], 0.01);
        EXPECT_LE(std::fabs(row[csv.Column("commande_pct")]), 100);
    }
    EXPECT_GT(csv.rows.back()[csv.Column("mesure_trmin")], 500);  // the motor speeds up
    const double final = csv.rows.back()[csv.Column("mesure_trmin")];
    EXPECT_NE(console.m_output.find(tarvic::Format("Valeur finale : %.2f tr/min (consigne %.2f tr/min", final, 49 * edge)),
              std::string::npos)
        << console.m_output;
}

TEST(Console, RefusedCommandLinesSayWhyAndRunNothing)
{
    Console console;
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    for (const Case& c : {
             Case{{"--banc", "niveaueau", "--kp", "64"}, "--kp 64 : hors limites, de 0.001 \xE0 63.999."},
             Case{{"--banc", "niveaueau", "--kp=abc"}, "Valeur invalide pour --kp : \xAB abc \xBB."},
             Case{{"--banc", "niveaueau", "--ci-debit", "5"}, "Le param\xE8tre --ci-debit n'existe pas sur le banc niveaueau."},
             Case{{"--banc", "tour"}, "Banc inconnu : tour (niveaueau, debitair, axnum, iapv, synum)."},
             Case{{"--banc", "debitair", "--mode", "position"}, "Mode inconnu pour le banc debitair : position (pid, bo, tor, corz)."},
             Case{{"--kp", "2"}, "Choisissez le banc : --banc niveaueau, debitair, axnum, iapv, synum."},
             Case{{"--banc", "niveaueau", "--gain", "2"}, "Option inconnue : --gain (voir tarvic-banc --help)."},
             Case{{"--banc", "niveaueau", "--port", "COM1", "--vitesse", "5"},
                  "--vitesse, --bruit et --graine ne valent que pour la carte simul\xE9" "e, pas avec --port."},
             Case{{"--ouvrir", "n.tbc", "--kp", "2"}, "--ouvrir ne se combine qu'avec --csv, --png et --archive."},
         }) {
        EXPECT_EQ(console.Run(c.arguments), 2) << c.error;
        EXPECT_EQ(console.m_errors, Utf8("tarvic-banc : " + c.error + "\n"));
        EXPECT_EQ(console.m_output, "");
    }
    // Nothing was kept of a refused experiment.
    EXPECT_FALSE(std::ifstream(console.File("tarvic/tarvic-banc-niveaueau.ini")).good());
}

TEST(Console, AMissingPortIsNamed)
{
    Console console;
    EXPECT_EQ(console.Run({"--banc", "niveaueau", "--port", "/dev/ttyUSB-absent"}), 3);
    EXPECT_EQ(console.m_errors,
              Utf8("tarvic-banc : Le port /dev/ttyUSB-absent n'existe pas : la carte est-elle branch\xE9" "e ?\n"));
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

TEST(Console, ASilentCardIsGivenUpAfterItsRetries)
{
    Console console;
    EXPECT_EQ(console.Run({"--banc", "debitair", "--delai-reponse", "100", "--csv", "s.csv"},
                          {console.FaultyCard("--silent")}),
              1);
    EXPECT_NE(console.m_errors.find(Utf8("tarvic-banc : La carte ne r\xE9pond plus : \xAB DFS14 \xBB envoy\xE9 3 fois "
                                         "sans r\xE9ponse en 0.1 s. 0 bloc sur 20 gard\xE9.\n")),
              std::string::npos)
        << console.m_errors;
    EXPECT_EQ(ReadFile(console.File("s.csv")).substr(0, 25), "temps_s,consigne_pct,mesu");
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

TEST(Console, HelpInFrench)
{
    Console console;
    EXPECT_EQ(console.Run({"--help"}), 0);
    EXPECT_EQ(console.m_output.substr(0, 42), "Usage : tarvic-banc --banc NOM [OPTION]...");
    for (const char* option : {"--kp V", "--echelon V", "--repos V", "--duree S", "--port PORT", "--ouvrir ARCHIVE"})
        EXPECT_NE(console.m_output.find(option), std::string::npos) << option;
}
