#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <QDir>

#include <tarvic/platform/IniProfile.h>
#include <tarvic/platform/SignalClose.h>
#include <tarvic/recording/Enregistrement.h>

#include <algorithm>
#include <optional>

#include "CardAnswer.h"
#include "WindowFixture.h"
#include "engine/outputs/Results.h"
#include "support/ScriptedCard.h"
#include "window/KeptRun.h"
#include "window/RunStatus.h"

using namespace banc;
using banc::test::SpinUntil;
using banc::window::LinkState;

namespace {

// The user's data folder of the session, in the test's folder while it lasts.
class DataFolder {
public:
    explicit DataFolder(const std::string& path) : m_previous(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path));
    }
    ~DataFolder()
    {
        if (m_previous.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_previous);
    }

private:
    QByteArray m_previous;
};

// The water level PID on a card whose first block is ready and whose second never is: the run is under way.
class WindowSignal : public ::testing::Test {
protected:
    WindowSignal()
        : m_data(m_fixture.folder.File("donnees")), m_card([](const std::string& line) -> std::optional<std::string> {
              if (line == "?TEM01") return "!TEM01N";
              return test::CardAnswer(line, 0x0400);
          })
    {
        m_fixture.Prefer("niveaueau", "pid", 1);
        m_fixture.PreferPort(m_card.Path());
    }
    window::BenchWindow& Open()
    {
        window::BenchWindow& window = m_fixture.Open({std::chrono::milliseconds(50), 2});
        EXPECT_TRUE(SpinUntil([&] { return window.GetWorkbench().Card().State() == LinkState::Answering; }));
        return window;
    }
    int Blocks() { return m_fixture.Bench().LiveElements().recording->LitNbPoint() / kPointsPerBlock; }
    QStringList Kept()
    {
        return QDir(QString::fromStdString(m_fixture.folder.File("donnees/tarvic"))).entryList(QDir::Files);
    }

    test::WindowFixture m_fixture;
    DataFolder m_data;
    tarvic::test::ScriptedCard m_card;
};

}  // namespace

TEST_F(WindowSignal, ATerminationStopsTheRunAndKeepsItInTheDataFolderNamedAtTheNextStart)
{
    window::BenchWindow& window = Open();
    ASSERT_EQ(m_fixture.Bench().SetRecording(32, 500), "");
    const tarvic::SignalClose onSignal([&] { window.CloseWithoutAsking(); });
    window.Do(window::Action::Start);
    ASSERT_TRUE(SpinUntil([&] { return Blocks() == 1; }));
    ASSERT_TRUE(m_fixture.Bench().Running());

    ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
    ASSERT_TRUE(SpinUntil([&] { return !window.isVisible(); }));
    EXPECT_EQ(onSignal.Received(), SIGTERM);
    // No question at a logout: nobody is there to answer it.
    EXPECT_EQ(m_fixture.prompts.questions, 0);
    // Stopped as the Stop button does: the card's loop got its order and the block stays.
    const std::vector<std::string> sent = m_card.LinesFrom("?TSF00");
    EXPECT_NE(std::find(sent.begin(), sent.end(), "!RS"), sent.end());
    EXPECT_FALSE(m_fixture.Bench().Running());
    EXPECT_EQ(Blocks(), 1);

    // In the user's data folder, under the bench's, mode's and date's name.
    const QStringList kept = Kept();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept[0].startsWith(QStringLiteral("niveaueau-pid-"))) << kept[0].toStdString();
    EXPECT_TRUE(kept[0].endsWith(QStringLiteral(".tbc"))) << kept[0].toStdString();
    const std::string path = m_fixture.folder.File("donnees/tarvic/" + kept[0].toStdString());
    EXPECT_EQ(window.Kept().path.toStdString(), path);
    EXPECT_EQ(window.Kept().error.toStdString(), "");
    LoadedExperiment loaded;
    ASSERT_EQ(LoadArchive(path, loaded), "");
    ASSERT_EQ(BlocksAcquired(*loaded.elements.recording), 1);
    EXPECT_FLOAT_EQ(loaded.elements.recording->LitPoint('M', 31), 0x0400 * 100.0f / 3264);
    EXPECT_FALSE(m_fixture.Bench().Unsaved());
    // A second signal while it closes keeps no other copy and forgets none.
    ASSERT_EQ(::kill(::getpid(), SIGHUP), 0);
    ASSERT_TRUE(SpinUntil([&] { return onSignal.Received() == SIGHUP; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(Kept().size(), 1);
    EXPECT_EQ(window.Kept().path.toStdString(), path);

    // The next start says where it is, once.
    m_fixture.Close();
    EXPECT_EQ(Open().Status()->NoticeText().toStdString(),
              "Essai non enregistr\xC3\xA9 gard\xC3\xA9 dans " + path + ".");
    m_fixture.Close();
    EXPECT_EQ(Open().Status()->NoticeText().toStdString(), "");
    EXPECT_EQ(Kept().size(), 1);
}

TEST_F(WindowSignal, AHangUpOrCtrlCWithNothingUnsavedClosesWithoutAnArchive)
{
    for (const int signal : {SIGHUP, SIGINT}) {
        window::BenchWindow& window = Open();
        const tarvic::SignalClose onSignal([&] { window.CloseWithoutAsking(); });
        ASSERT_EQ(::kill(::getpid(), signal), 0);
        ASSERT_TRUE(SpinUntil([&] { return !window.isVisible(); })) << signal;
        EXPECT_EQ(onSignal.Received(), signal);
        EXPECT_EQ(window.Kept().path.toStdString(), "");
        EXPECT_EQ(window::KeptRunReport(window.Kept()).toStdString(), "");
        m_fixture.Close();
    }
    EXPECT_EQ(Kept().size(), 0);
    EXPECT_EQ(m_fixture.prompts.questions, 0);
}

TEST(KeptRun, TheTerminalIsToldWhereTheRunWentOrWhyItIsLost)
{
    EXPECT_EQ(
        window::KeptRunReport(
            {QStringLiteral("/home/eleve/.local/share/tarvic/niveaueau-pid-2026-12-08-10h04.tbc"), {}})
            .toStdString(),
        "Essai non enregistr\xC3\xA9 gard\xC3\xA9 dans /home/eleve/.local/share/tarvic/niveaueau-pid-2026-12-08-10h04.tbc.");
    EXPECT_EQ(window::KeptRunReport({{}, QStringLiteral("Disque plein.")}).toStdString(),
              "L'essai non enregistr\xC3\xA9 n'a pas pu \xC3\xAA" "tre gard\xC3\xA9 : Disque plein.");
}
