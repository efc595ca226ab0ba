#include <gtest/gtest.h>

#include <QComboBox>

#include <filesystem>

#include "WindowFixture.h"
#include "engine/outputs/Results.h"

using namespace banc;
using banc::test::SpinUntil;
using banc::window::LinkState;
using Answer = banc::window::Prompts::Closing;
using Dropping = banc::window::Prompts::Dropping;
using Asked = std::vector<Dropping>;

namespace {

// A water level run of two blocks, over and in no archive.
class WindowUnsaved : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fixture.Prefer("niveaueau", "pid", 100);
        m_fixture.Open();
        ASSERT_EQ(Bench().SetRecording(32, 500), "");
        ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
        ASSERT_TRUE(m_fixture.RunToTheEnd());
        ASSERT_EQ(Blocks(), 2);
        ASSERT_TRUE(Bench().Unsaved());
    }
    window::Workbench& Bench() { return m_fixture.Bench(); }
    window::BenchWindow& Window() { return m_fixture.Window(); }
    test::ScriptedPrompts& prompts() { return m_fixture.prompts; }
    int Blocks() { return BlocksAcquired(*Bench().ShownElements().recording); }
    void ChooseBench(const char* name)
    {
        const int index = static_cast<int>(FindBench(name) - Benches().data());
        Window().BenchChoice()->setCurrentIndex(index);
        emit Window().BenchChoice() -> activated(index);
    }
    // The blocks of the archive, or -1 when it is missing or unreadable.
    int ArchivedBlocks(const std::string& path)
    {
        LoadedExperiment loaded;
        return LoadArchive(path, loaded).empty() ? BlocksAcquired(*loaded.elements.recording) : -1;
    }
    std::string Archive() { return m_fixture.folder.File("essai.tbc"); }

    banc::test::WindowFixture m_fixture;
};

}  // namespace

TEST_F(WindowUnsaved, ClosingAsksAndCancelKeepsTheWindowAndTheRun)
{
    prompts().dropping = {Answer::Cancel};
    EXPECT_FALSE(Window().close());
    EXPECT_EQ(prompts().droppingAsked, Asked{Dropping::Closing});
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Blocks(), 2);
    // Saved: written, then the window closes.
    prompts().dropping = {Answer::Save};
    prompts().paths = {Archive()};
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(ArchivedBlocks(Archive()), 2);
}

TEST_F(WindowUnsaved, ASaveGivenUpOrRefusedKeepsTheWindowOpen)
{
    // The file dialog cancelled.
    prompts().dropping = {Answer::Save};
    EXPECT_FALSE(Window().close());
    // A file that cannot be written: said, and the run stays.
    const std::string nowhere = m_fixture.folder.File("absent/essai.tbc");
    prompts().dropping = {Answer::Save};
    prompts().paths = {nowhere};
    EXPECT_FALSE(Window().close());
    EXPECT_EQ(prompts().warnings.size(), 1u);
    EXPECT_TRUE(Bench().Unsaved());
    EXPECT_EQ(prompts().droppingAsked, (Asked{Dropping::Closing, Dropping::Closing}));
    // Let go: the window closes.
    prompts().dropping = {Answer::Discard};
    EXPECT_TRUE(Window().close());
}

TEST_F(WindowUnsaved, ARunSavedGoesWithoutAQuestion)
{
    prompts().paths = {Archive()};
    Window().Do(window::Action::Save);
    EXPECT_FALSE(Bench().Unsaved());
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(prompts().droppingAsked, Asked{});
    EXPECT_EQ(ArchivedBlocks(Archive()), 2);
}

TEST_F(WindowUnsaved, AnExportIsNoArchiveAndStillAsks)
{
    prompts().paths = {m_fixture.folder.File("essai.csv")};
    Window().Do(window::Action::ExportCsv);
    EXPECT_TRUE(std::filesystem::exists(m_fixture.folder.File("essai.csv")));
    prompts().dropping = {Answer::Cancel};
    EXPECT_FALSE(Window().close());
    EXPECT_EQ(prompts().droppingAsked, Asked{Dropping::Closing});
}

TEST_F(WindowUnsaved, AnotherBenchAsksAndCancelStaysOnTheRunsBench)
{
    prompts().dropping = {Answer::Cancel};
    ChooseBench("debitair");
    EXPECT_EQ(prompts().droppingAsked, Asked{Dropping::OtherBench});
    EXPECT_EQ(Bench().LiveSettings().bench->name, std::string("niveaueau"));
    EXPECT_EQ(Window().BenchChoice()->currentIndex(), static_cast<int>(FindBench("niveaueau") - Benches().data()));
    EXPECT_EQ(Blocks(), 2);
    // Let go: on the other bench, the run gone.
    prompts().dropping = {Answer::Discard};
    ChooseBench("debitair");
    EXPECT_EQ(Bench().LiveSettings().bench->name, std::string("debitair"));
    EXPECT_EQ(Blocks(), 0);
    EXPECT_FALSE(Bench().Unsaved());
    // The same bench chosen again drops nothing and asks nothing.
    ChooseBench("debitair");
    EXPECT_EQ(prompts().droppingAsked.size(), 2u);
}

TEST_F(WindowUnsaved, OpeningAFileAsksBeforeTheFileDialog)
{
    prompts().dropping = {Answer::Cancel};
    prompts().paths = {Archive()};
    Window().Do(window::Action::Open);
    EXPECT_EQ(prompts().droppingAsked, Asked{Dropping::Opening});
    EXPECT_EQ(prompts().paths.size(), 1u);  // no file asked for
    EXPECT_TRUE(Bench().ShowsLive());
    // Saved first, then the file chosen opens: here the archive just written.
    prompts().dropping = {Answer::Save};
    prompts().paths = {Archive(), Archive()};
    Window().Do(window::Action::Open);
    EXPECT_TRUE(prompts().paths.empty());
    EXPECT_EQ(ArchivedBlocks(Archive()), 2);
    EXPECT_FALSE(Bench().ShowsLive());
    EXPECT_FALSE(Bench().Unsaved());
    // An archive opened is in its file: closing asks nothing.
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(prompts().droppingAsked.size(), 2u);
}

TEST_F(WindowUnsaved, ANewRunAsksAndAfterASaveDoesNot)
{
    prompts().dropping = {Answer::Cancel};
    Window().Do(window::Action::Start);
    EXPECT_EQ(prompts().droppingAsked, Asked{Dropping::NewRun});
    EXPECT_FALSE(Bench().Running());
    EXPECT_EQ(Blocks(), 2);
    // Let go: the new run starts, and is over unsaved in its turn.
    prompts().dropping = {Answer::Discard};
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_EQ(prompts().droppingAsked.size(), 2u);
    EXPECT_TRUE(Bench().Unsaved());
    // Saved: the next run starts without a question.
    prompts().paths = {Archive()};
    Window().Do(window::Action::Save);
    ASSERT_TRUE(m_fixture.RunToTheEnd());
    EXPECT_EQ(prompts().droppingAsked.size(), 2u);
}

TEST_F(WindowUnsaved, ASettingChangedKeepsTheRunShownAndStillAsks)
{
    // Another mode makes the elements again; the run stays on show, unsaved.
    ASSERT_EQ(Bench().ChooseMode(Bench().LiveSettings().bench->modes.back()), "");
    EXPECT_FALSE(Bench().ShowsLive());
    EXPECT_EQ(Blocks(), 2);
    prompts().dropping = {Answer::Save};
    prompts().paths = {Archive()};
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(ArchivedBlocks(Archive()), 2);
}
