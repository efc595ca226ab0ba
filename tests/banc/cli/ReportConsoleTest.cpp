#include <gtest/gtest.h>

#include "BancTestSupport.h"
#include "ConsoleFixture.h"
#include "PdfText.h"
#include "cli/ExitStatus.h"
#include "engine/history/KeepRun.h"
#include "recording/RecordingSupport.h"
#include "support/TraceCapture.h"

using namespace banc;
using banc::test::PdfText;
using banc::test::Utf8;

namespace {

constexpr int kMeasureRow = 7, kSetpointRow = 8, kFullScale = 3264;

// Two water level PID runs kept in the console's folder's base: the
// measurement at 50 % all along, then at 25 %.
class ReportOrder : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const int percent : {50, 25}) {
            Settings settings = banc::test::MakeSettings("niveaueau", "pid", {{"kp", 2}, {"ti", 20}});
            settings.duration = 32;
            Elements elements;
            ASSERT_EQ(Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements).error, "");
            std::vector<tarvic::test::Valeurs> blocks(2);
            for (auto& block : blocks) {
                block[kMeasureRow].fill(static_cast<std::uint16_t>(kFullScale * percent / 100));
                block[kSetpointRow].fill(kFullScale / 2);
            }
            tarvic::test::Acquiert(*elements.recording, blocks);
            history::RunContext context{m_console.File("essais.sqlite"), "\xC9lodie", "CARTE V3.1",
                                        percent == 50 ? "2026-12-08 10:00:00" : "2026-12-08 10:05:00"};
            ASSERT_EQ(history::KeepRun(settings, elements, Outcome{}, RunReport{}, context).warning, "");
        }
    }
    int Run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--historique", "essais.sqlite"});
        return m_console.Run(arguments);
    }

    tarvic::test::TraceCapture m_quiet;
    banc::test::Console m_console;
};

}  // namespace

TEST_F(ReportOrder, AKeptRunsReportIsWrittenAndTold)
{
    ASSERT_EQ(Run({"--essai", "2", "--rapport", "essai2.pdf"}), cli::kExitDone) << m_console.m_errors;
    EXPECT_EQ(m_console.m_errors, Utf8("Rapport \xE9" "crit : essai2.pdf\n"));
    const std::string text = PdfText(m_console.File("essai2.pdf"), true);
    EXPECT_NE(text.find(Utf8("Essai n\xB0 2 : Niveau d'eau, r\xE9gulation PID\n"
                             "Banc Niveau d'eau\n"
                             "Mode 1 : r\xE9gulation PID, mesure : niveau 1\n"
                             "Date 2026-12-08 10:05:00\n"
                             "Utilisateur \xC9lodie\n")),
              std::string::npos)
        << text;
}

TEST_F(ReportOrder, ComparedRunsMakeOneReport)
{
    ASSERT_EQ(Run({"--comparer", "1,2", "--rapport", "comparaison.pdf"}), cli::kExitDone) << m_console.m_errors;
    EXPECT_EQ(m_console.m_errors, Utf8("Rapport \xE9" "crit : comparaison.pdf\n"));
    const std::string text = PdfText(m_console.File("comparaison.pdf"), true);
    EXPECT_NE(text.find("Comparaison des essais 1, 2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Date 2026-12-08 10:00:00 2026-12-08 10:05:00\n"), std::string::npos) << text;
}

TEST_F(ReportOrder, TheReportGoesOnlyWithARunShownOrCompared)
{
    EXPECT_EQ(Run({"--banc", "niveaueau", "--rapport", "r.pdf"}), cli::kExitUsage);
    EXPECT_EQ(m_console.m_errors, Utf8("tarvic-banc : --rapport ne vaut qu'avec --essai ou --comparer.\n"));
    EXPECT_EQ(Run({"--liste", "--rapport", "r.pdf"}), cli::kExitUsage);
    EXPECT_EQ(m_console.m_errors, Utf8("tarvic-banc : --liste ne se combine pas avec --rapport.\n"));
    EXPECT_EQ(Run({"--essai", "1", "--rapport", ""}), cli::kExitUsage);
    EXPECT_EQ(m_console.m_errors, Utf8("tarvic-banc : --rapport : le nom du fichier est vide.\n"));
    EXPECT_EQ(banc::test::FolderEntries(m_console.m_folder.Path()), std::vector<std::string>({"essais.sqlite"}));
}

TEST_F(ReportOrder, AReportThatCannotBeWrittenFailsTheOrderAndKeepsTheRuns)
{
    EXPECT_EQ(Run({"--essai", "1", "--rapport", "absent/r.pdf"}), cli::kExitUnavailable);
    EXPECT_EQ(m_console.m_errors,
              Utf8("tarvic-banc : Impossible d'\xE9" "crire absent/r.pdf : le dossier absent n'existe pas.\n"));
    EXPECT_EQ(Run({"--essai", "1", "--rapport", "r.pdf", "--png", "r.pdf"}), cli::kExitUsage);
    EXPECT_EQ(m_console.m_errors, Utf8("tarvic-banc : --png r.pdf et --rapport r.pdf sont un m\xEAme fichier : l'un "
                                       "\xE9" "craserait l'autre.\n"));
    EXPECT_EQ(Run({"--liste"}), cli::kExitDone);
    EXPECT_NE(m_console.m_output.find("2   2026-12-08 10:05:00"), std::string::npos) << m_console.m_output;
    EXPECT_NE(m_console.m_output.find("1   2026-12-08 10:00:00"), std::string::npos) << m_console.m_output;
}

TEST(ReportHelp, TheHelpNamesTheReport)
{
    banc::test::Console console;
    ASSERT_EQ(console.Run({"--help"}), cli::kExitDone);
    EXPECT_NE(
        console.m_output.find(Utf8("  --rapport FICHIER.pdf  avec --essai ou --comparer : le rapport \xE0 rendre, "
                                   "en PDF A4\n")),
        std::string::npos)
        << console.m_output;
}
