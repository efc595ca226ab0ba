#include <gtest/gtest.h>

#include <QComboBox>

#include <tarvic/control/Tor.h>
#include <tarvic/platform/IniProfile.h>
#include <tarvic/widgets/BoiteFonction.h>

#include "WindowFixture.h"
#include "engine/outputs/Synoptic.h"
#include "window/SynopticView.h"

using namespace banc;
using banc::test::SpinUntil;
using banc::window::LinkState;

namespace {

std::string ClassOf(const CObject* object) { return object->GetRuntimeClass()->m_lpszClassName; }

class WindowChoice : public ::testing::Test {
protected:
    std::string Entry(const char* file, const char* section, const char* entry)
    {
        return tarvic::IniProfile(m_fixture.folder.File(file)).GetProfileString(section, entry, "(absente)");
    }
    void Choose(QComboBox* box, int index)
    {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    int ItemsNumbered(int first, int count)
    {
        int found = 0;
        for (int n = first; n < first + count; ++n) found += m_fixture.Window().Synoptic()->Items().Find(n) ? 1 : 0;
        return found;
    }

    banc::test::WindowFixture m_fixture;
};

}  // namespace

TEST_F(WindowChoice, ABenchAndAModeMakeTheirElementsAndProfileSectionsAndTheNextStartOpensThere)
{
    m_fixture.Prefer("niveaueau", "pid", 50);
    window::BenchWindow& window = m_fixture.Open();
    window::Workbench& bench = m_fixture.Bench();
    ASSERT_TRUE(SpinUntil([&] { return bench.Card().State() == LinkState::Answering; }));
    int refused = 0;
    QObject::connect(&bench.Card(), &window::CardConnection::refused, [&] { ++refused; });
    // The benches by their French names, the air flow second.
    ASSERT_EQ(window.BenchChoice()->count(), 5);
    EXPECT_EQ(window.BenchChoice()->itemText(1).toStdString(), "D\xC3\xA9" "bit d'air et temp\xC3\xA9rature");
    Choose(window.BenchChoice(), 1);
    EXPECT_EQ(ClassOf(bench.LiveElements().bench.get()), "CDebitAir");
    EXPECT_EQ(ClassOf(bench.LiveElements().controller.get()), "CPid");
    EXPECT_EQ(bench.LiveElements().controller->LitGrp(), "D_MODE1_PID");
    EXPECT_EQ(bench.LiveElements().generator->LitGrp(), "D_MODE1_GENE");
    // The modes of the air flow bench, and its own simulated card.
    EXPECT_EQ(window.ModeChoice()->count(), 4);
    EXPECT_EQ(window.ModeChoice()->itemText(2).toStdString(), "Mode 2 : r\xC3\xA9gulation tout ou rien");
    // The air flow's own requests ("AMD") are answered.
    ASSERT_TRUE(SpinUntil([&] { return bench.Card().State() == LinkState::Answering; }));
    EXPECT_EQ(refused, 0);
    // The bench's factory settings in its own profile, which the command line reads too.
    EXPECT_EQ(Entry("tarvic-banc-debitair.ini", "TYPE", "PO"), "68");
    EXPECT_EQ(Entry("tarvic-banc-debitair.ini", "TYPE", "REGULATEUR"), "1");
    EXPECT_EQ(Entry("tarvic-banc-debitair.ini", "FERZ", "TE"), "50");
    EXPECT_EQ(Entry("tarvic-banc-debitair.ini", "D_MODE1_PID", "KP"), "1.0");
    EXPECT_EQ(Entry("tarvic-banc-fenetre.ini", "FENETRE", "BANC"), "debitair");

    Choose(window.ModeChoice(), 2);
    EXPECT_NE(dynamic_cast<CTor*>(bench.LiveElements().controller.get()), nullptr);
    EXPECT_EQ(bench.LiveElements().controller->LitGrp(), "D_MODE2_TOR");
    EXPECT_EQ(Entry("tarvic-banc-debitair.ini", "TYPE", "REGULATEUR"), "2");
    EXPECT_EQ(Entry("tarvic-banc-fenetre.ini", "debitair", "MODE"), "tor");
    // Its synoptic: the blocks with the elements' descriptions, a point and a probe per measurement.
    const auto* controller =
        dynamic_cast<const CBoiteFonction*>(window.Synoptic()->Items().Find(banc::kControllerBlock));
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(ItemsNumbered(banc::kMeasurePoint, 3), 2);
    EXPECT_EQ(ItemsNumbered(banc::kMeasureProbe, 3), 2);
    EXPECT_NE(window.Synoptic()->Items().Find(banc::kFeedbackSwitch), nullptr);

    m_fixture.Close();
    window::BenchWindow& again = m_fixture.Open();
    EXPECT_EQ(again.GetWorkbench().LiveSettings().bench->name, std::string("debitair"));
    EXPECT_EQ(again.GetWorkbench().LiveSettings().mode->name, std::string("tor"));
    EXPECT_EQ(again.ModeChoice()->currentIndex(), 2);
}

TEST_F(WindowChoice, TheSwitchesAndPointsOfTheSynopticWireTheLoop)
{
    m_fixture.Prefer("niveaueau", "pid", 50);
    m_fixture.Open();
    window::Workbench& bench = m_fixture.Bench();
    m_fixture.ClickItem(banc::kMeasurePoint + 1);
    EXPECT_EQ(bench.LiveSettings().Measure().name, std::string("niveau2"));
    EXPECT_EQ(bench.LiveElements().controller->LitBRetour(), '2');
    m_fixture.ClickItem(banc::kFeedbackSwitch);
    EXPECT_FALSE(bench.LiveSettings().feedback);
    EXPECT_EQ(bench.LiveElements().controller->LitBRetour(), 'I');
    m_fixture.ClickItem(banc::kCommandSwitch);
    EXPECT_FALSE(bench.LiveSettings().routed);
    int routed = -1;
    bench.LiveElements().controller->LitEtat(6, routed);
    EXPECT_EQ(routed, 0);
    // Kept for the bench in the window's profile.
    EXPECT_EQ(Entry("tarvic-banc-fenetre.ini", "niveaueau", "MESURE"), "niveau2");
    EXPECT_EQ(Entry("tarvic-banc-fenetre.ini", "niveaueau", "RETOUR"), "0");
    EXPECT_EQ(Entry("tarvic-banc-fenetre.ini", "niveaueau", "ISOLEE"), "1");
}
