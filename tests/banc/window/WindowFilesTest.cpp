#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QStandardPaths>

#include <fstream>

#include <tarvic/platform/IniProfile.h>

#include "WindowFixture.h"
#include "engine/model/Benches.h"
#include "window/FileDialogs.h"
#include "window/RunStatus.h"

using namespace banc;
using File = banc::window::Prompts::File;

namespace {

class WindowFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fixture.Prefer("niveaueau", "pid", 50);
        m_fixture.Open();
    }
    window::BenchWindow& Window() { return m_fixture.Window(); }
    std::string Documents() const
    {
        return window::StartFolder("",
                                   QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString(),
                                   QDir::homePath().toStdString());
    }

    banc::test::WindowFixture m_fixture;
};

}  // namespace

TEST(WindowQt, SpeaksFrenchToo)
{
    banc::test::Application();  // set up as the program's
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), "Annuler");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text().toStdString(), "Enregistrer");
    EXPECT_EQ(QLocale().language(), QLocale::French);
}

TEST_F(WindowFiles, TheDialogsOpenWhereTheUserLastWentWithANameForTheRun)
{
    // The first time, in the user's documents, the name made of the bench, the mode and the date.
    const QDateTime before = QDateTime::currentDateTime();
    m_fixture.prompts.paths = {m_fixture.folder.File("essais/a.tbc")};
    QDir().mkpath(QString::fromStdString(m_fixture.folder.File("essais")));
    Window().Do(window::Action::Save);
    const QDateTime after = QDateTime::currentDateTime();
    ASSERT_EQ(m_fixture.prompts.offered.size(), 1u);
    const std::string offered = m_fixture.prompts.offered[0];
    Settings shown = m_fixture.Bench().ShownSettings();
    EXPECT_TRUE(offered == Documents() + "/" + window::SuggestedName(shown, File::Archive, before) ||
                offered == Documents() + "/" + window::SuggestedName(shown, File::Archive, after))
        << offered;
    // The folder is kept in the window's profile: the next dialogs open there, even after a restart.
    EXPECT_EQ(
        tarvic::IniProfile(m_fixture.folder.File("tarvic-banc-fenetre.ini")).GetProfileString("FENETRE", "DOSSIER", ""),
        m_fixture.folder.File("essais"));
    m_fixture.Close();
    m_fixture.Open();
    Window().Do(window::Action::Open);
    ASSERT_EQ(m_fixture.prompts.offered.size(), 2u);
    EXPECT_EQ(m_fixture.prompts.offered[1], m_fixture.folder.File("essais"));
    Window().Do(window::Action::ExportCsv);
    ASSERT_EQ(m_fixture.prompts.offered.size(), 3u);
    const std::string csv = m_fixture.prompts.offered[2];
    EXPECT_EQ(csv.substr(0, csv.rfind('/')), m_fixture.folder.File("essais"));
    EXPECT_EQ(csv.substr(csv.size() - 4), ".csv");
}

TEST(FileDialogs, TheFolderLastUsedWhileItIsThereElseTheDocumentsElseHome)
{
    banc::test::TemporaryFolder folder;
    const std::string last = folder.File("dernier"), documents = folder.File("Documents");
    QDir().mkpath(QString::fromStdString(documents));
    EXPECT_EQ(window::StartFolder("", documents, "/maison"), documents);
    EXPECT_EQ(window::StartFolder(last, documents, "/maison"), documents);  // gone since
    QDir().mkpath(QString::fromStdString(last));
    EXPECT_EQ(window::StartFolder(last, documents, "/maison"), last);
    EXPECT_EQ(window::StartFolder("", folder.File("absent"), "/maison"), "/maison");
}

TEST(FileDialogs, TheNameIsTheBenchTheModeAndTheDate)
{
    Settings settings;
    settings.bench = FindBench("axnum");
    settings.mode = &settings.bench->modes.back();
    const QDateTime when(QDate(2026, 12, 8), QTime(9, 4, 59));
    const std::string mode = settings.mode->name;
    EXPECT_EQ(window::SuggestedName(settings, File::Archive, when), "axnum-" + mode + "-2026-12-08-09h04.tbc");
    EXPECT_EQ(window::SuggestedName(settings, File::Csv, when), "axnum-" + mode + "-2026-12-08-09h04.csv");
    EXPECT_EQ(window::SuggestedName(settings, File::Png, when), "axnum-" + mode + "-2026-12-08-09h04.png");
}

TEST_F(WindowFiles, OuvrirRefusesADamagedArchiveAndSaysWhenOneCouldNotBeChecked)
{
    const std::string saved = m_fixture.folder.File("a.tbc");
    m_fixture.prompts.paths = {saved};
    Window().Do(window::Action::Save);
    const std::string bytes = banc::test::ReadFile(saved);
    ASSERT_GT(bytes.size(), 16u);

    const std::string damaged = m_fixture.folder.File("abime.tbc");
    std::string flipped = bytes;
    flipped[bytes.size() / 2] = static_cast<char>(flipped[bytes.size() / 2] ^ 0x01);
    std::ofstream(damaged, std::ios::binary) << flipped;
    m_fixture.prompts.paths = {damaged};
    Window().Do(window::Action::Open);
    EXPECT_EQ(m_fixture.prompts.warnings,
              std::vector<std::string>{damaged + " est endommag\xE9" "e : son contenu ne correspond plus \xE0 sa somme "
                                                 "de contr\xF4le."});

    const std::string bare = m_fixture.folder.File("nu.tbc");
    std::ofstream(bare, std::ios::binary) << bytes.substr(0, bytes.size() - 16);
    m_fixture.prompts.paths = {bare};
    Window().Do(window::Action::Open);
    EXPECT_EQ(m_fixture.prompts.warnings.size(), 1u);
    EXPECT_EQ(
        Window().Status()->NoticeText(),
        QString::fromLatin1(bare + " n'a pas de somme de contr\xF4le (archive d'une version ant\xE9rieure ou d'une "
                                   "autre application) : son contenu n'a pas pu \xEAtre v\xE9rifi\xE9."));
}
