#include <gtest/gtest.h>

#include "PdfText.h"
#include "WindowFixture.h"
#include "window/CardConnection.h"
#include "window/MenuBar.h"
#include "window/RunStatus.h"

using namespace banc;
using banc::test::PdfText;
using banc::test::SpinUntil;

namespace {

std::string Utf8(const std::string& latin1) { return QString::fromLatin1(latin1.c_str()).toUtf8().toStdString(); }

// The water level PID of two blocks at a hundred times the clock, run to its end and kept as run 1.
class WindowReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fixture.Prefer("niveaueau", "pid", 100);
        m_fixture.Open();
        ASSERT_EQ(Bench().SetRecording(32, 500), "");
        ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == window::LinkState::Answering; }));
        ASSERT_TRUE(m_fixture.RunToTheEnd());
        ASSERT_EQ(Bench().LastKept().number, 1);
    }
    window::Workbench& Bench() { return m_fixture.Bench(); }
    window::BenchWindow& Window() { return m_fixture.Window(); }

    banc::test::WindowFixture m_fixture;
};

// The run kept, named by its number.
constexpr const char* kKeptRun = "Essai n\xB0 1 : Niveau d'eau, r\xE9gulation PID\nBanc Niveau d'eau\n";

}  // namespace

TEST_F(WindowReport, TheRunJustKeptIsExportedAsItsReport)
{
    const std::string path = m_fixture.folder.File("rapport.pdf");
    m_fixture.prompts.paths = {path};
    emit Window().Menus() -> reportAsked();
    ASSERT_EQ(m_fixture.prompts.offered.size(), 1u);
    // Named as the run's other files, with the suffix of a PDF.
    EXPECT_EQ(m_fixture.prompts.offered[0].substr(m_fixture.prompts.offered[0].size() - 4), ".pdf");
    EXPECT_EQ(m_fixture.prompts.warnings, std::vector<std::string>{});
    const std::string text = PdfText(path, true);
    EXPECT_NE(text.find(Utf8(kKeptRun)), std::string::npos) << text;
    EXPECT_NE(text.find("page 2 / 2"), std::string::npos) << text;
    EXPECT_EQ(Window().Status()->NoticeText(), QString::fromUtf8("\xC3\x89" "crit : ") + QString::fromStdString(path));
}

TEST_F(WindowReport, PrintingGoesThroughThePrintDialogToThePrinterChosen)
{
    const std::string path = m_fixture.folder.File("imprime.pdf");
    m_fixture.prompts.printed = {path};
    emit Window().Menus() -> printAsked();
    EXPECT_EQ(m_fixture.prompts.warnings, std::vector<std::string>{});
    EXPECT_NE(PdfText(path, true).find(Utf8(kKeptRun)), std::string::npos);
    EXPECT_EQ(Window().Status()->NoticeText(), QString::fromUtf8("Rapport imprim\xC3\xA9."));
}

TEST_F(WindowReport, GivingUpThePrintDialogPrintsNothing)
{
    const std::vector<std::string> before = banc::test::FolderEntries(m_fixture.folder.Path());
    emit Window().Menus() -> printAsked();
    EXPECT_EQ(banc::test::FolderEntries(m_fixture.folder.Path()), before);
    EXPECT_EQ(m_fixture.prompts.warnings, std::vector<std::string>{});
    EXPECT_NE(Window().Status()->NoticeText(), QString::fromUtf8("Rapport imprim\xC3\xA9."));
}

TEST_F(WindowReport, AnExperimentOpenedHasNoNumberNorAnotherUsersName)
{
    const std::string archive = m_fixture.folder.File("essai.tbc");
    ASSERT_EQ(Bench().SaveArchive(archive), "");
    ASSERT_EQ(Bench().OpenArchive(archive), "");
    const std::string path = m_fixture.folder.File("ouvert.pdf");
    m_fixture.prompts.paths = {path};
    emit Window().Menus() -> reportAsked();
    const std::string text = PdfText(path, true);
    EXPECT_NE(text.find(Utf8("Essai : Niveau d'eau, r\xE9gulation PID\nBanc Niveau d'eau\n")), std::string::npos)
        << text;
    EXPECT_NE(text.find("Date inconnue\nUtilisateur inconnu\nPoste inconnu\n"), std::string::npos) << text;
}
