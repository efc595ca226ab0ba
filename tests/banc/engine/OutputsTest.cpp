#include <gtest/gtest.h>

#include <QImage>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "BancTestSupport.h"
#include "engine/outputs/CsvExport.h"
#include "engine/outputs/FilePaths.h"
#include "engine/outputs/Markup.h"
#include "engine/outputs/PlotImage.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/Results.h"
#include "recording/RecordingSupport.h"
#include "support/GuiApplication.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/PainterDC.h"
#include "tarvic/platform/RecordingDC.h"
#include "tarvic/platform/Text.h"
#include "tarvic/recording/AxeTemps.h"

using namespace banc;
using banc::test::RampWithOvershoot;
using tarvic::test::Valeurs;

namespace {

// Rows of the water level bench's recording, as the card fills them.
constexpr int kCommandRow = 0, kInput1Row = 3, kLevel1Row = 4, kLevel2Row = 5, kMeasureRow = 7, kSetpointRow = 8,
              kSampleRow = 15;
constexpr int kFullScale = 3264;  // output counts of 100 %

// A water level PID experiment, its recording filled by the test.
class OutputsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings = banc::test::MakeSettings("niveaueau", "pid", {{"kp", 2}, {"ti", 20}, {"echelon", 50}});
        m_settings.duration = 64;  // four blocks of 16 s
        ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    // Blocks whose measurement (percent) at point i is measure(i), the setpoint 50 %, the rest fixed.
    template <class Measure>
    void Record(int blocks, Measure measure)
    {
        std::vector<Valeurs> values(static_cast<std::size_t>(blocks));
        for (int i = 0; i < blocks * 32; ++i) {
            auto& block = values[static_cast<std::size_t>(i / 32)];
            const int point = i % 32;
            block[kCommandRow][point] = kFullScale;
            block[kInput1Row][point] = 2457;  // 12 mA
            block[kLevel1Row][point] = 2457;
            block[kLevel2Row][point] = 819;  // 4 mA
            block[kMeasureRow][point] =
                static_cast<std::uint16_t>(static_cast<std::int16_t>(measure(i) * kFullScale / 100));
            block[kSetpointRow][point] = kFullScale / 2;
            block[kSampleRow][point] = static_cast<std::uint16_t>(i);
        }
        m_elements.recording->SetStart(true);
        for (std::size_t b = 0; b < values.size(); ++b)
            m_elements.recording->TraitRecept(tarvic::test::LigneBloc(static_cast<int>(b), values[b]));
    }
    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
    banc::test::TemporaryFolder m_folder;
};

}  // namespace

TEST_F(OutputsTest, CsvHeaderNamesEachColumnWithItsUnitAndRowsCarryEveryCurve)
{
    Record(2, [](int i) { return i < 32 ? 25.0f : 50.0f; });
    const std::string path = m_folder.File("essai.csv");
    ASSERT_EQ(WriteCsv(path, *m_elements.recording, ResultColumns(m_settings, m_elements), 500, 2), "");
    const std::string csv = banc::test::ReadFile(path);
    const std::string header =
        "temps_s,consigne_pct,mesure_pct,commande_pct,erreur_pct,terme_p_pct,terme_i_pct,terme_d_pct,"
        "commande_bo_pct,pompe_pct,debit_pct,niveau1_pct,niveau2_pct,echantillon_nb\r\n";
    // 12 mA is 50 % of a 4-20 mA sensor; 4 mA is 0 %.
    const std::string start = header +
                              "0.000,50,25,100,0,0,0,0,0,0,50,50,0,0\r\n"
                              "0.500,50,25,100,0,0,0,0,0,0,50,50,0,1\r\n";
    EXPECT_EQ(csv.substr(0, start.size()), start);
    EXPECT_NE(csv.find("\r\n16.000,50,50,100,0,0,0,0,0,0,50,50,0,32\r\n"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 64);
    const std::string end = "\n31.500,50,50,100,0,0,0,0,0,0,50,50,0,63\r\n";
    EXPECT_EQ(csv.substr(csv.size() - end.size()), end);
}

TEST_F(OutputsTest, CsvWriterAppendsEachBlockAsItComesBesideTheFileItReplacesAtTheEnd)
{
    Record(2, [](int) { return 10.0f; });
    const std::string path = m_folder.File("partiel.csv");
    std::ofstream(path) << "ancien";
    CsvWriter writer;
    ASSERT_EQ(writer.Open(path, ResultColumns(m_settings, m_elements), 500), "");
    EXPECT_TRUE(writer.WriteBlock(*m_elements.recording, 0));
    // On disk before the end, in the one other file of the folder; the old one stays until then.
    std::vector<std::string> others;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
        if (entry.path() != path) others.push_back(entry.path().string());
    ASSERT_EQ(others.size(), 1u);
    const std::string written = banc::test::ReadFile(others[0]);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1 + 32);
    EXPECT_EQ(banc::test::ReadFile(path), "ancien");
    EXPECT_EQ(writer.Finish(), "");
    EXPECT_EQ(banc::test::ReadFile(path), written);
    EXPECT_FALSE(std::filesystem::exists(others[0]));
    const std::string absent = m_folder.File("absent/x.csv");
    EXPECT_EQ(writer.Open(absent, {}, 500), "Impossible d'\xE9" "crire " + absent + " : dossier introuvable.");
    EXPECT_FALSE(writer.IsOpen());
    // The system's own words ("Is a directory") never reach the user.
    EXPECT_EQ(writer.Open(m_folder.Path(), {}, 500),
              "Impossible d'\xE9" "crire " + m_folder.Path() + " : c'est un dossier.");
}

TEST_F(OutputsTest, OnAFullDiskNoFileIsHalfWrittenAndTheOldOnesStay)
{
    banc::test::SmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "a 64 KiB tmpfs cannot be mounted here (root only): no full disk to write on";
    Record(4, RampWithOvershoot);
    const std::string archive = disk.File("essai.tbc"), picture = disk.File("essai.png"), csv = disk.File("essai.csv");
    for (const std::string& path : {archive, picture, csv}) std::ofstream(path) << "ancien " << path;
    disk.Fill();
    EXPECT_EQ(SaveArchive(archive, m_settings, m_elements),
              "Impossible d'\xE9" "crire l'archive " + archive + " : disque plein.");
    tarvic::test::RequireGuiApplication();
    EXPECT_EQ(SavePlot(picture, *m_elements.recording, MakePlot(m_settings, m_elements)),
              "Impossible d'\xE9" "crire l'image " + picture + " : disque plein.");
    EXPECT_EQ(WriteCsv(csv, *m_elements.recording, ResultColumns(m_settings, m_elements), 500, 4),
              "Impossible d'\xE9" "crire " + csv + " : disque plein.");
    for (const std::string& path : {archive, picture, csv}) EXPECT_EQ(banc::test::ReadFile(path), "ancien " + path);
    EXPECT_EQ(disk.Files(), (std::vector<std::string>{"essai.csv", "essai.png", "essai.tbc"}));
}

TEST_F(OutputsTest, ACsvThatFillsTheDiskDuringARunKeepsItsWholeBlocks)
{
    banc::test::SmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "a 64 KiB tmpfs cannot be mounted here (root only): no full disk to write on";
    Record(4, RampWithOvershoot);
    const std::vector<Curve> columns = ResultColumns(m_settings, m_elements);
    ASSERT_EQ(WriteCsv(m_folder.File("entier.csv"), *m_elements.recording, columns, 500, 4), "");
    const std::string whole = banc::test::ReadFile(m_folder.File("entier.csv"));
    ASSERT_GT(whole.size(), 4096u);  // the room left takes less than the four blocks

    const std::string path = disk.File("essai.csv");
    disk.Fill(4096);
    CsvWriter writer;
    ASSERT_EQ(writer.Open(path, columns, 500), "");
    int taken = 0;
    while (taken < 4 && writer.WriteBlock(*m_elements.recording, taken)) ++taken;
    ASSERT_LT(taken, 4);
    ASSERT_GE(taken, 1);
    EXPECT_FALSE(writer.WriteBlock(*m_elements.recording, 3));  // no row after a gap
    const int lines = taken * 32;
    EXPECT_EQ(writer.Finish(), tarvic::Format("Impossible d'\xE9" "crire %s en entier : disque plein ; il garde ses %d "
                                              "premi\xE8res lignes de mesures.",
                                              path.c_str(), lines));
    // The header and the whole blocks written, exactly as the whole file begins.
    const std::string kept = banc::test::ReadFile(path);
    EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 1 + lines);
    EXPECT_EQ(kept, whole.substr(0, kept.size()));
    EXPECT_EQ(disk.Files(), std::vector<std::string>{"essai.csv"});
}

TEST_F(OutputsTest, AFrenchCsvHasAByteOrderMarkSemicolonsAndDecimalCommas)
{
    Record(1, [](int i) { return i == 0 ? 12.5f : (i == 1 ? -12.5f : 50.0f); });  // 408 counts: 12.5 % exactly
    const std::vector<Curve> all = ResultColumns(m_settings, m_elements);
    // A name holding the separator and quotes is quoted, a Latin-1 one in UTF-8.
    Curve odd = all[1], accented = all[0];
    odd.column = "niveau;\"1\"_pct";
    accented.column = "d\xE9" "bit_pct";
    const std::string path = m_folder.File("tableur.csv");
    ASSERT_EQ(WriteCsv(path, *m_elements.recording, {all[0], all[1], odd, accented}, 500, 1, CsvFormat::French), "");
    const std::string csv = banc::test::ReadFile(path);
    const std::string start =
        "\xEF\xBB\xBF" "temps_s;consigne_pct;mesure_pct;\"niveau;\"\"1\"\"_pct\";"
        "d\xC3\xA9" "bit_pct\r\n"
        "0,000;50;12,5;12,5;50\r\n"
        "0,500;50;-12,5;-12,5;50\r\n"
        "1,000;50;50;50;50\r\n";
    EXPECT_EQ(csv.substr(0, start.size()), start);
    const std::string end = "\r\n15,500;50;50;50;50\r\n";
    EXPECT_EQ(csv.substr(csv.size() - end.size()), end);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 32);

    // The default keeps its commas and points; it quotes a name holding a comma.
    odd.column = "niveau,1_pct";
    ASSERT_EQ(WriteCsv(path, *m_elements.recording, {all[1], odd}, 500, 1), "");
    const std::string usual = "temps_s,mesure_pct,\"niveau,1_pct\"\r\n0.000,12.5,12.5\r\n0.500,-12.5,-12.5\r\n";
    EXPECT_EQ(banc::test::ReadFile(path).substr(0, usual.size()), usual);
    EXPECT_EQ(FindCsvFormat("fr")->format, CsvFormat::French);
    EXPECT_EQ(FindCsvFormat("rfc4180")->format, CsvFormat::Rfc4180);
    EXPECT_EQ(FindCsvFormat("excel"), nullptr);
}

TEST_F(OutputsTest, NeitherACsvNorAPictureReplacesAnArchive)
{
    Record(1, RampWithOvershoot);
    const std::string archive = m_folder.File("essai.tbc");
    ASSERT_EQ(SaveArchive(archive, m_settings, m_elements), "");
    const std::string bytes = banc::test::ReadFile(archive);
    const std::string refused = archive + " est une archive d'essai : seule une archive peut la remplacer.";
    EXPECT_EQ(WriteCsv(archive, *m_elements.recording, ResultColumns(m_settings, m_elements), 500, 1), refused);
    tarvic::test::RequireGuiApplication();
    EXPECT_EQ(SavePlot(archive, *m_elements.recording, MakePlot(m_settings, m_elements)), refused);
    EXPECT_EQ(banc::test::ReadFile(archive), bytes);
    EXPECT_EQ(SaveArchive(archive, m_settings, m_elements), "");  // another archive may

    // What makes an archive is its start: one cut short is still one, a CSV or nothing is none.
    const std::string head = m_folder.File("debut.tbc");
    std::ofstream(head, std::ios::binary) << bytes.substr(0, 20);
    EXPECT_TRUE(IsArchive(head));
    EXPECT_EQ(ArchiveKept(head), head + " est une archive d'essai : seule une archive peut la remplacer.");
    const std::string csv = m_folder.File("essai.csv");
    ASSERT_EQ(WriteCsv(csv, *m_elements.recording, ResultColumns(m_settings, m_elements), 500, 1), "");
    EXPECT_FALSE(IsArchive(csv));
    EXPECT_EQ(ArchiveKept(csv), "");
    EXPECT_FALSE(IsArchive(m_folder.File("absent.tbc")));
    EXPECT_FALSE(IsArchive(m_folder.Path()));
}

TEST_F(OutputsTest, ATubeOrADeviceNamedAsAnOutputIsNeverReplacedByAFile)
{
    Record(1, RampWithOvershoot);
    const std::string tube = m_folder.File("tube");
    ASSERT_EQ(::mkfifo(tube.c_str(), 0600), 0);
    tarvic::test::RequireGuiApplication();
    for (const std::string& path : {tube, std::string("/dev/null")}) {
        const std::string kind = path == tube ? "c'est un tube" : "c'est un p\xE9riph\xE9rique";
        const std::string refused = "Impossible d'\xE9" "crire " + path + " : " + kind + ".";
        EXPECT_EQ(SaveArchive(path, m_settings, m_elements), refused);
        EXPECT_EQ(WriteCsv(path, *m_elements.recording, ResultColumns(m_settings, m_elements), 500, 1), refused);
        EXPECT_EQ(SavePlot(path, *m_elements.recording, MakePlot(m_settings, m_elements)), refused);
    }
    struct stat info{};
    ASSERT_EQ(::stat(tube.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    // Nothing was left beside them.
    EXPECT_EQ(banc::test::FolderEntries(m_folder.Path()), std::vector<std::string>{"tube"});
}

TEST_F(OutputsTest, StepFiguresComeFromTheRecordingInTheMeasurementsUnit)
{
    // Up 3.125 % a point (102 counts) to 50 %, three points at 55 % (1795 counts) from point 20, 500 ms apart.
    Record(2, [](int i) { return RampWithOvershoot(i) / 2; });
    const StepFigures step = ExperimentStep(m_settings, m_elements);
    ASSERT_EQ(step.verdict, StepVerdict::Settled);
    EXPECT_EQ(step.stepIndex, 0);  // the setpoint never moves: the record starts on its step
    EXPECT_FLOAT_EQ(step.initial, 0);
    EXPECT_FLOAT_EQ(step.setpoint, 50);
    EXPECT_FLOAT_EQ(*step.final, 50);
    const float peak = 1795 * 100.0f / kFullScale;
    EXPECT_FLOAT_EQ(step.peak, peak);
    EXPECT_EQ(step.peakIndex, 20);
    EXPECT_FLOAT_EQ(*step.overshoot, (peak - 50) / 50 * 100);
    // 10 % (5) between points 1 and 2, 90 % (45) between 14 and 15, 63.2 % between 10 and 11.
    EXPECT_NEAR(*step.riseTime, (14.4 - 1.6) * 0.5, 1e-4);
    EXPECT_NEAR(*step.timeConstant, (10 + (31.606 - 31.25) / 3.125) * 0.5, 1e-3);
    // Out of the 47.5-52.5 band at point 22, in from 23 on: across its upper edge in between.
    EXPECT_EQ(step.settlingIndex, 23);
    EXPECT_NEAR(*step.settlingTime, (22 + (52.5 - peak) / (50 - peak)) * 0.5, 1e-4);
    EXPECT_FLOAT_EQ(step.band, 2.5);
}

TEST_F(OutputsTest, AFlatMeasurementIsNoResponse)
{
    Record(2, [](int) { return 30.0f; });
    const StepFigures flat = ExperimentStep(m_settings, m_elements);
    EXPECT_EQ(flat.verdict, StepVerdict::NoResponse);
    EXPECT_FALSE(flat.riseTime);
}

TEST_F(OutputsTest, TheArchiveIsReadBackToTheSameCsv)
{
    Record(3, RampWithOvershoot);
    const std::string archive = m_folder.File("essai.tbc");
    ASSERT_EQ(SaveArchive(archive, m_settings, *&m_elements), "");
    const std::string bytes = banc::test::ReadFile(archive);
    // Bench letter, mode 1, "niveau1", then the bench's object record.
    EXPECT_EQ(bytes.substr(0, 27),
              std::string("N\x01\x00\x00\x00\x07\x00niveau1\xFF\xFF\x00\x00\x0A\x00", 20) + "CNiveau");
    for (const char* name : {"CPid", "CGeneFonction", "CEnregistrement", "CBlocPoint"})
        EXPECT_NE(bytes.find(name), std::string::npos) << name;

    LoadedExperiment loaded;
    ASSERT_EQ(LoadArchive(archive, loaded), "");
    EXPECT_EQ(loaded.settings.bench, m_settings.bench);
    EXPECT_EQ(loaded.settings.mode, m_settings.mode);
    EXPECT_EQ(loaded.elements.controller->LitConfiguration(0), m_elements.controller->LitConfiguration(0));
    EXPECT_EQ(BlocksAcquired(*loaded.elements.recording), 3);
    ASSERT_EQ(
        WriteCsv(m_folder.File("avant.csv"), *m_elements.recording, ResultColumns(m_settings, m_elements), 500, 3), "");
    ASSERT_EQ(WriteCsv(m_folder.File("apres.csv"), *loaded.elements.recording,
                       ResultColumns(loaded.settings, loaded.elements), PeriodMs(*loaded.elements.recording),
                       BlocksAcquired(*loaded.elements.recording)),
              "");
    EXPECT_EQ(banc::test::ReadFile(m_folder.File("apres.csv")), banc::test::ReadFile(m_folder.File("avant.csv")));
}

TEST(ArchiveUnits, AMotorBenchsArchiveShowsItsSetpointsInTheBenchsUnits)
{
    tarvic::test::TraceCapture quiet;
    banc::test::TemporaryFolder folder;
    struct Case {
        const char* bench;
        const char* mode;
        std::initializer_list<std::pair<const char*, float>> values;
        std::string generator;
    };
    // The motor's levels are whole edges a window, the nearest to what was asked: 16 for 500 tr/min
    // (491.55), 49 for 1500 (1505.38); the axis's 144 degrees is a whole count.
    const float edge = 60000.0f / (4 * 100 * 5 * 0.9765f);
    for (const Case& c :
         {Case{"iapv",
               "vitesse",
               {{"repos", 500}, {"echelon", 1500}},
               "\\gConsigne:\\n Echelon, Valeur Repos = 492 tr/min,Val. C =1505 tr/min Retard =0.100 s\n"},
          Case{"axnum",
               "position",
               {{"echelon", 144}},
               "\\gConsigne:\\n Echelon, Valeur Repos = 0 \xB0,Val. C =144 \xB0 Retard =0.100 s\n"}}) {
        const Settings settings = banc::test::MakeSettings(c.bench, c.mode, c.values);
        Elements elements;
        ASSERT_EQ(Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements).error, "");
        EXPECT_EQ(elements.generator->LitConfiguration(0), c.generator);
        const std::string archive = folder.File(std::string(c.bench) + ".tbc");
        ASSERT_EQ(SaveArchive(archive, settings, elements), "");
        LoadedExperiment loaded;
        ASSERT_EQ(LoadArchive(archive, loaded), "");
        EXPECT_EQ(loaded.elements.generator->LitConfiguration(0), c.generator) << c.bench;
        float step = 0;
        loaded.elements.generator->LitFParam(0, step);
        EXPECT_NEAR(step, c.bench == std::string("iapv") ? 49 * edge : 144, 1e-3);
    }
}

TEST_F(OutputsTest, DamagedArchivesAreRefused)
{
    Record(1, RampWithOvershoot);
    const std::string archive = m_folder.File("essai.tbc");
    ASSERT_EQ(SaveArchive(archive, m_settings, m_elements), "");
    const std::string bytes = banc::test::ReadFile(archive);
    const auto damaged = [&](const std::string& content) {
        const std::string path = m_folder.File("abime.tbc");
        std::ofstream(path, std::ios::binary) << content;
        LoadedExperiment loaded;
        return LoadArchive(path, loaded);
    };
    const std::string refused = m_folder.File("abime.tbc") + " n'est pas une archive d'essai lisible.";
    const std::string broken = m_folder.File("abime.tbc") +
                               " est endommag\xE9" "e : son contenu ne correspond plus \xE0 sa somme de contr\xF4le.";
    EXPECT_EQ(damaged(bytes.substr(0, bytes.size() / 2)), refused);             // cut short, its check with it
    EXPECT_EQ(damaged("X" + bytes.substr(1)), broken);                          // no bench of that letter
    EXPECT_EQ(damaged(bytes.substr(0, 1) + "\x09" + bytes.substr(2)), broken);  // no mode 9
    EXPECT_EQ(damaged(""), refused);
    EXPECT_EQ(damaged("temps_s,consigne_pct\r\n"), refused);
    LoadedExperiment loaded;
    EXPECT_EQ(LoadArchive(m_folder.File("absent.tbc"), loaded),
              "Impossible de lire " + m_folder.File("absent.tbc") + " : fichier introuvable.");
    EXPECT_EQ(LoadArchive(m_folder.Path(), loaded), "Impossible de lire " + m_folder.Path() + " : c'est un dossier.");
    // Written over a folder: refused with the same words, and no temporary file is left.
    EXPECT_EQ(SaveArchive(m_folder.File("dossier"), m_settings, m_elements), "");
    std::filesystem::remove(m_folder.File("dossier"));
    std::filesystem::create_directory(m_folder.File("dossier"));
    EXPECT_EQ(SaveArchive(m_folder.File("dossier"), m_settings, m_elements),
              "Impossible d'\xE9" "crire l'archive " + m_folder.File("dossier") + " : c'est un dossier.");
    EXPECT_EQ(banc::test::FolderEntries(m_folder.Path()),
              (std::vector<std::string>{"abime.tbc", "dossier", "essai.tbc"}));
}

TEST_F(OutputsTest, AnArchiveEndsWithTheCrc32OfItsContent)
{
    Record(2, RampWithOvershoot);
    const std::string archive = m_folder.File("essai.tbc");
    ASSERT_EQ(SaveArchive(archive, m_settings, m_elements), "");
    const std::string bytes = banc::test::ReadFile(archive);
    ASSERT_GT(bytes.size(), 16u);
    const std::string content = bytes.substr(0, bytes.size() - 16);
    // The tag, the content's length and its CRC-32 (IEEE 802.3, worked out bit by bit here), little-endian.
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char byte : content) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc = ~crc;
    std::string seal = "TBCCRC32";
    for (const std::uint32_t word : {static_cast<std::uint32_t>(content.size()), crc})
        for (int shift = 0; shift < 32; shift += 8) seal += static_cast<char>((word >> shift) & 0xFF);
    EXPECT_EQ(bytes.substr(content.size()), seal);
    LoadedExperiment loaded;
    ASSERT_EQ(LoadArchive(archive, loaded), "");
    EXPECT_EQ(loaded.notice, "");
    EXPECT_EQ(BlocksAcquired(*loaded.elements.recording), 2);
}

TEST_F(OutputsTest, AnArchiveWithAByteChangedIsRefusedAndOneWithoutItsCheckOpensWithANotice)
{
    Record(2, RampWithOvershoot);
    const std::string archive = m_folder.File("essai.tbc");
    ASSERT_EQ(SaveArchive(archive, m_settings, m_elements), "");
    const std::string bytes = banc::test::ReadFile(archive);
    const std::string path = m_folder.File("autre.tbc");
    const auto load = [&](const std::string& content, LoadedExperiment& loaded) {
        std::ofstream(path, std::ios::binary) << content;
        return LoadArchive(path, loaded);
    };
    const std::string broken =
        path + " est endommag\xE9" "e : son contenu ne correspond plus \xE0 sa somme de contr\xF4le.";
    // One bit of a level in the last block, of the length, of the CRC: each refused.
    for (const std::size_t at : {bytes.size() - 100, bytes.size() - 8, bytes.size() - 2}) {
        std::string flipped = bytes;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x04);
        LoadedExperiment loaded;
        EXPECT_EQ(load(flipped, loaded), broken) << at;
        EXPECT_FALSE(loaded.elements.recording) << at;
    }
    const std::string unchecked = path +
                                  " n'a pas de somme de contr\xF4le (archive d'une version ant\xE9rieure ou "
                                  "d'une autre application) : son contenu n'a pas pu \xEAtre v\xE9rifi\xE9.";
    // The library's own archive, as an older console or another application writes it.
    LoadedExperiment bare;
    ASSERT_EQ(load(bytes.substr(0, bytes.size() - 16), bare), "");
    EXPECT_EQ(bare.notice, unchecked);
    EXPECT_EQ(BlocksAcquired(*bare.elements.recording), 2);
    EXPECT_EQ(bare.settings.bench, m_settings.bench);
}

TEST_F(OutputsTest, ThePlotDrawsTheThreeCurvesOnTheLibrarysAxes)
{
    Record(2, RampWithOvershoot);
    const PlotContent plot = MakePlot(m_settings, m_elements);
    EXPECT_EQ(plot.points, 64);
    EXPECT_EQ(plot.plannedPoints, 128);
    CRecordingDC dc;
    DrawPlot(dc, *m_elements.recording, plot);
    std::vector<const CRecordingDC::Call*> curves;
    std::vector<std::string> texts;
    for (const auto& call : dc.Calls()) {
        if (call.op == "polyline") curves.push_back(&call);
        if (call.op == "text") texts.push_back(call.text);
    }
    ASSERT_EQ(curves.size(), 3u);
    // Setpoint green, command red, measurement blue (last, on top), 2 pixels wide.
    EXPECT_EQ(curves[0]->pen.lopnColor, RGB(0, 128, 0));
    EXPECT_EQ(curves[1]->pen.lopnColor, RGB(255, 0, 0));
    EXPECT_EQ(curves[2]->pen.lopnColor, RGB(0, 0, 255));
    EXPECT_EQ(curves[2]->pen.lopnWidth, 2);
    // The time axis spans the four planned blocks; the value axis 0 to 110 % after one widening by a tenth.
    EXPECT_EQ(curves[2]->points.size(), 64u);
    EXPECT_EQ(curves[2]->points.front(), CPoint(80, 400));  // 0 % of -10 to 110 %
    EXPECT_EQ(curves[2]->points[1], CPoint(86, 381));       // 800 pixels for 128 points      // 6.25 %
    EXPECT_EQ(curves[0]->points.back(), CPoint(80 + 63 * 800 / 128, 250));
    for (const char* label :
         {"Niveau d'eau, r\xE9gulation PID", "-10", "2", "110", "%", "0", "6", "64", "t (s)", "Consigne   ",
          "Commande   ", "Mesure   ", "Correcteur:", " PID K1= 2.00, Ti= 20.00 s, K2= 1.000 ", "Consigne:"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;

    tarvic::test::RequireGuiApplication();
    const std::string picture = std::string(TARVIC_RENDER_DIR) + "/banc-plot.png";
    ASSERT_EQ(SavePlot(picture, *m_elements.recording, plot), "");
    const QImage image(QString::fromLocal8Bit(picture.c_str()));
    EXPECT_EQ(image.size(), QSize(kImageFrame.width, kImageFrame.height));
    EXPECT_EQ(image.pixelColor(85, 384).blue(), 255);  // on the measurement
    // A picture that cannot be written says why, in French.
    EXPECT_EQ(SavePlot(m_folder.Path(), *m_elements.recording, plot),
              "Impossible d'\xE9" "crire l'image " + m_folder.Path() + " : c'est un dossier.");
    const std::string absent = m_folder.File("absent/x.png");
    EXPECT_EQ(SavePlot(absent, *m_elements.recording, plot),
              "Impossible d'\xE9" "crire l'image " + absent + " : dossier introuvable.");
}

TEST_F(OutputsTest, APlotOnAZoomedTimeAxisDrawsThePointsOfItsSpanWithTheirColours)
{
    Record(2, RampWithOvershoot);
    PlotContent plot = MakePlot(m_settings, m_elements);
    const Curve error = ResultColumns(m_settings, m_elements)[3];
    plot.curves.push_back({error, '0', 0, RGB(230, 120, 0)});
    const PlotFrame frame{1920, 800, 80, 1840, 75, 675};
    // The second half of the four planned blocks: points 60 to 124, of which 60 to 63 are acquired.
    CAxeTemps time = PlotTimeAxis(plot, frame);
    time.m_zoom = 2;
    time.m_offset = 10;
    time.Calcul();
    ASSERT_EQ(time.m_premier, 60);
    CRecordingDC dc;
    DrawPlot(dc, *m_elements.recording, plot, frame, &time);
    std::vector<const CRecordingDC::Call*> curves, strokes;
    bool labelled = false;
    for (const auto& call : dc.Calls()) {
        if (call.op == "polyline") curves.push_back(&call);
        if (call.op == "line" && call.pen.lopnColor == RGB(230, 120, 0)) strokes.push_back(&call);
        labelled = labelled || (call.op == "text" && call.text == "Erreur   ");
    }
    ASSERT_EQ(curves.size(), 4u);
    EXPECT_EQ(curves[0]->points.size(), 4u);
    EXPECT_EQ(curves[0]->points.front().x, 80);
    EXPECT_EQ(curves[0]->points.back().x, 80 + 3 * 1760 / 64);
    EXPECT_EQ(curves[3]->pen.lopnColor, RGB(230, 120, 0));
    // Its stroke in the legend, after the curves named in the renderer's colours, then its label.
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0]->points[0].y, 675 + 46 + 11);
    EXPECT_EQ(strokes[0]->points[1].x - strokes[0]->points[0].x, 18);
    EXPECT_TRUE(labelled);
}

TEST(FilePaths, OneFileUnderTwoNamesIsOneFileWhetherItIsMadeOrNot)
{
    banc::test::TemporaryFolder folder;
    const std::string& root = folder.Path();
    ASSERT_EQ(::mkdir(folder.File("sous").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(folder.File("autre").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(folder.File("autre/profond").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("autre/profond", folder.File("raccourci").c_str()), 0);
    ASSERT_EQ(::symlink("a.csv", folder.File("lien.csv").c_str()), 0);  // to a file not made yet

    EXPECT_TRUE(SameFile(folder.File("a.csv"), folder.File("sous/../a.csv")));
    EXPECT_TRUE(SameFile(folder.File("a.csv"), root + "/./a.csv"));
    EXPECT_TRUE(SameFile(folder.File("a.csv"), folder.File("lien.csv")));
    // ".." after a link leaves the folder the link leads to, as the system does.
    EXPECT_TRUE(SameFile(folder.File("raccourci/../b.csv"), folder.File("autre/b.csv")));
    EXPECT_FALSE(SameFile(folder.File("raccourci/../b.csv"), folder.File("b.csv")));
    EXPECT_FALSE(SameFile(folder.File("a.csv"), folder.File("b.csv")));

    std::ofstream(folder.File("a.csv")) << "x";
    EXPECT_TRUE(SameFile(folder.File("lien.csv"), folder.File("sous/../a.csv")));
    ASSERT_EQ(::link(folder.File("a.csv").c_str(), folder.File("dur.csv").c_str()), 0);
    EXPECT_TRUE(SameFile(folder.File("dur.csv"), folder.File("a.csv")));
    std::ofstream(folder.File("b.csv")) << "x";
    EXPECT_FALSE(SameFile(folder.File("a.csv"), folder.File("b.csv")));
}

TEST(Markup, DescriptionsLoseTheirStylesForATerminal)
{
    EXPECT_EQ(PlainText("\\gCorrecteur:\\n PID\n K1 = 2.00\n Td = 6.50 s\n \\f1a\\n = 8.00\n"),
              "Correcteur: PID\n K1 = 2.00\n Td = 6.50 s\n alpha = 8.00\n");
    EXPECT_EQ(PlainText("\\c2rouge\\c0 noir, U\\is\\n, x\\e2"), "rouge noir, Us, x2");
    EXPECT_EQ(PlainText("\\zx \\f1b \\f0b \\"), "zx beta b ");
}
