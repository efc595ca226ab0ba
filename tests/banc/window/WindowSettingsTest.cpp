#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <tarvic/platform/IniProfile.h>
#include <tarvic/widgets/IconButton.h>

#include "LoggedCardWindow.h"
#include "engine/outputs/Synoptic.h"
#include "window/GeneratorDialog.h"
#include "window/ParameterDialog.h"

using namespace banc;
using banc::test::SpinUntil;

namespace {

using Lines = std::vector<std::string>;

// The water level PID on the simulated card of a port, whose traffic the test reads.
class WindowSettings : public banc::test::LoggedCardWindow {
protected:
    WindowSettings() : LoggedCardWindow("pid") {}
    window::ParameterDialog& OpenDialog(int item)
    {
        m_fixture.ClickItem(item);
        auto* dialog = dynamic_cast<window::ParameterDialog*>(m_fixture.Window().OpenDialog());
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    void Validate(window::ParameterDialog& dialog)
    {
        dialog.findChild<CIconButton*>(QStringLiteral("valider"))->click();
    }
    std::string ProfileEntry(const char* section, const char* entry)
    {
        return tarvic::IniProfile(m_fixture.folder.File("tarvic-banc-niveaueau.ini"))
            .GetProfileString(section, entry, "");
    }
};

}  // namespace

TEST_F(WindowSettings, EditingAPidFieldSendsExactlyItsCommand)
{
    window::ParameterDialog& dialog = OpenDialog(banc::kControllerBlock);
    QLineEdit* kp = dialog.Field(10);  // the field of K1 is parameter 10's
    ASSERT_NE(kp, nullptr);
    EXPECT_EQ(kp->text().toStdString(), "1,000");  // the bench's factory K1, with its 3 decimals
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("limites10"))->text().toStdString(), "de 0,001 \xC3\xA0 63,999");
    // Typed as a French user writes it.
    kp->selectAll();
    QTest::keyClicks(kp, "2,5");
    EXPECT_EQ(kp->text().toStdString(), "2,5");
    Validate(dialog);
    EXPECT_FALSE(dialog.isVisible());
    // ConfFerz(10): K1 = 2.5 is 0A00 in Q10, K2 = 1, the normaliser of the percent benches.
    ASSERT_TRUE(SpinUntil([&] { return !Orders().empty(); }));
    LetTheWatchTurn();
    EXPECT_EQ(Orders(), Lines{"!RKP0A00010003FFC000"});
    EXPECT_EQ(ProfileEntry("N_MODE1_PID", "KP"), "2.500");
    // The controller's block shows the new description.
    const std::string description = m_fixture.Bench().LiveElements().controller->LitConfiguration(1);
    EXPECT_NE(description.find(" K1 = 2.50\n"), std::string::npos);
}

TEST_F(WindowSettings, TextThatIsNoNumberOrOutOfRangeIsRefusedWithTheLimits)
{
    window::ParameterDialog& dialog = OpenDialog(banc::kControllerBlock);
    QLineEdit* kp = dialog.Field(10);
    const auto refusal = [&](const char* typed) {
        kp->selectAll();
        QTest::keyClicks(kp, typed);
        Validate(dialog);
        EXPECT_TRUE(dialog.isVisible()) << typed;
        return dialog.Error().toStdString();
    };
    // Before, "1e5" became 15 and "2,5,1" 251: every one of these is refused, whole.
    EXPECT_EQ(refusal("abc"),
              "Gain proportionnel K1 (PID) : \xC2\xAB abc \xC2\xBB n'est pas un nombre (de 0,001 \xC3\xA0 63,999).");
    EXPECT_EQ(refusal("2,5,1"),
              "Gain proportionnel K1 (PID) : \xC2\xAB 2,5,1 \xC2\xBB n'est pas un nombre (de 0,001 \xC3\xA0 63,999).");
    EXPECT_EQ(refusal("1e5"), "Gain proportionnel K1 (PID) : 100000 est hors limites (de 0,001 \xC3\xA0 63,999).");
    EXPECT_EQ(refusal("80"), "Gain proportionnel K1 (PID) : 80 est hors limites (de 0,001 \xC3\xA0 63,999).");
    // An empty field is no 0.
    kp->clear();
    Validate(dialog);
    EXPECT_EQ(dialog.Error().toStdString(),
              "Gain proportionnel K1 (PID) : une valeur est demand\xC3\xA9" "e (de 0,001 \xC3\xA0 63,999).");
    EXPECT_TRUE(dialog.isVisible());
    LetTheWatchTurn();
    EXPECT_EQ(Orders(), Lines{});
    EXPECT_EQ(ProfileEntry("N_MODE1_PID", "KP"), "1.0");
}

TEST_F(WindowSettings, TheExponentAndThePointAreReadToo)
{
    window::ParameterDialog& dialog = OpenDialog(banc::kControllerBlock);
    QLineEdit* kp = dialog.Field(10);
    kp->setText(QStringLiteral("1,5e-3"));
    Validate(dialog);
    EXPECT_FALSE(dialog.isVisible());
    // K1 = 0.0015 is 1.536 in Q10: 0001.
    ASSERT_TRUE(SpinUntil([&] { return !Orders().empty(); }));
    EXPECT_EQ(Orders(), Lines{"!RKP0001010003FFC000"});
    EXPECT_EQ(ProfileEntry("N_MODE1_PID", "KP"), "0.002");
    window::ParameterDialog& again = OpenDialog(banc::kControllerBlock);
    again.Field(10)->setText(QStringLiteral("2.5"));
    Validate(again);
    ASSERT_TRUE(SpinUntil([&] { return Orders().size() == 2; }));
    EXPECT_EQ(Orders().back(), "!RKP0A00010003FFC000");
}

TEST_F(WindowSettings, ASignalThatWouldPlayNothingIsRefusedWhole)
{
    auto& dialog = dynamic_cast<window::GeneratorDialog&>(OpenDialog(banc::kGeneratorBlock));
    dialog.Signal()->setCurrentIndex(dialog.Signal()->findData(1));  // a ramp
    QLineEdit* rest = dialog.Field(4);
    QLineEdit* final = dialog.Field(0);
    final->setText(QStringLiteral("30"));
    rest->setText(QStringLiteral("80"));
    Validate(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.Error().indexOf(QStringLiteral("ne donne aucun point")), -1);
    LetTheWatchTurn();
    EXPECT_EQ(Orders(), Lines{});
    EXPECT_EQ(ProfileEntry("N_MODE1_GENE", "TYPE"), "0");
    EXPECT_EQ(ProfileEntry("N_MODE1_GENE", "C_REPOS"), "0.0");
    // A ramp that rises is computed and sent whole, blocks of points included.
    rest->setText(QStringLiteral("10"));
    Validate(dialog);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(SpinUntil([&] { return !Orders().empty() && Orders().back() == "!DST"; }));
    const Lines orders = Orders();
    EXPECT_EQ(Lines(orders.begin(), orders.begin() + 3),
              (Lines{"!DSS", "!DTTT0006", "!RED0190"}));  // 7 points of 500 ms
    EXPECT_EQ(ProfileEntry("N_MODE1_GENE", "TYPE"), "1");
}
