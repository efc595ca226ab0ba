// The port dialog: what it proposes, what it stores, where.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "common/CardRegistry.h"
#include "common/SelPort.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

namespace fs = std::filesystem;

TEST(PortChoices, ListsKnownDevicesUnderTheirComNamesInDeviceOrder)
{
    EXPECT_EQ(PortChoices({"/dev/ttyUSB1", "/dev/ttyS0", "/dev/lp0", "/dev/ttyS40", "/dev/ttyACM0", "/dev/pts/3"}),
              (std::vector<std::string>{"COM34", "COM1", "COM65"}));
    EXPECT_TRUE(PortChoices({}).empty());
}

TEST(CardPortValue, IsTheFourthCharacterOrNothing)
{
    EXPECT_EQ(CardRegistry::CardPortValue("COM3"), "3");
    EXPECT_EQ(CardRegistry::CardPortValue("COM12"), "1");
    EXPECT_EQ(CardRegistry::CardPortValue("CO"), "");
    EXPECT_EQ(CardRegistry::CardPortValue(""), "");
    EXPECT_EQ(CardRegistry::CardPortValue("/dev/pts/4"), "v");
}

// A private registry file and a profile without a port.
class PortDialog : public ::testing::Test {
protected:
    PortDialog()
        : m_directory(fs::temp_directory_path() / ("panels-registry-" + std::to_string(::getpid()))),
          m_profile(std::make_shared<tarvic::MemoryProfile>())
    {
        EnsureApplication();
        fs::create_directories(m_directory);
        m_registry = (m_directory / "registry.ini").string();
        ::setenv("TARVIC_REGISTRY_FILE", m_registry.c_str(), 1);
        tarvic::SetProfile(m_profile);
    }
    ~PortDialog() override
    {
        ::unsetenv("TARVIC_REGISTRY_FILE");
        tarvic::SetProfile(nullptr);
        fs::remove_all(m_directory);
    }

    // Runs the port button of `panel`; `answer` fills in the modal port dialog.
    void ChoosePort(CPanelDlg& panel, int buttonId, const std::function<void(CSelPort&)>& answer)
    {
        panel.show();
        QTimer::singleShot(0, [&answer] {
            auto* dialog = qobject_cast<CSelPort*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
        panel.findChild<QPushButton*>(QString::number(buttonId))->click();
    }

    std::string Registry() const
    {
        std::ifstream file(m_registry);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    fs::path m_directory;
    std::string m_registry;
    std::shared_ptr<tarvic::MemoryProfile> m_profile;
};

TEST_F(PortDialog, StoresThePortAndTheCardPortThenClosesThePanel)
{
    CPanelDlg panel(VarnokVariant());
    std::string proposed, caption, combo;
    ChoosePort(panel, 1021, [&](CSelPort& dialog) {
        proposed = dialog.Combo()->currentText().toStdString();
        caption = dialog.windowTitle().toStdString();
        combo = dialog.Combo()->objectName().toStdString();
        dialog.Combo()->setEditText("COM3");
        dialog.findChild<QPushButton*>("1")->click();
    });
    EXPECT_EQ(proposed, "COM6");
    EXPECT_EQ(caption, "Choix du port");
    EXPECT_EQ(combo, "1006");
    EXPECT_EQ(m_profile->GetProfileString("CONFIGURATION", "PORT", ""), "COM3");
    EXPECT_EQ(Registry(), "[SOFTWARE\\Halvo\\N_PLEX\\CARTE]\nRV31=3\n");
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.result(), QDialog::Rejected);
}

TEST_F(PortDialog, CancelChangesNothingAndKeepsThePanelOpen)
{
    m_profile->WriteProfileString("CONFIGURATION", "PORT", "COM2");
    CPanelDlg panel(TorvaneVariant());
    std::string proposed;
    ChoosePort(panel, 1000, [&](CSelPort& dialog) {
        proposed = dialog.Combo()->currentText().toStdString();
        dialog.Combo()->setEditText("COM5");
        dialog.findChild<QPushButton*>("2")->click();
    });
    EXPECT_EQ(proposed, "COM2");
    EXPECT_EQ(m_profile->GetProfileString("CONFIGURATION", "PORT", ""), "COM2");
    EXPECT_FALSE(fs::exists(m_registry));
    EXPECT_TRUE(panel.isVisible());
}

TEST_F(PortDialog, AcceptsATypedDevicePathAndAShortName)
{
    CPanelDlg panel(BrakmorVariant());
    std::string caption, combo, proposed;
    ChoosePort(panel, 1032, [&](CSelPort& dialog) {
        caption = dialog.windowTitle().toStdString();
        combo = dialog.Combo()->objectName().toStdString();
        proposed = dialog.Combo()->currentText().toStdString();
        dialog.Combo()->setEditText("/dev/pts/7");
        dialog.accept();
    });
    EXPECT_EQ(caption, "Choix du Port");
    EXPECT_EQ(combo, "1035");
    EXPECT_EQ(proposed, "COM1");
    EXPECT_EQ(m_profile->GetProfileString("CONFIGURATION", "PORT", ""), "/dev/pts/7");
    EXPECT_EQ(Registry(), "[SOFTWARE\\Halvo\\N_PLEX\\CARTE]\nRV31=v\n");

    EXPECT_TRUE(CardRegistry::WriteCardPort("CO"));
    EXPECT_EQ(Registry(), "[SOFTWARE\\Halvo\\N_PLEX\\CARTE]\nRV31=\n");
}

TEST_F(PortDialog, RegistryFallsBackToTheUserConfigurationWhenNotRedirected)
{
    ::unsetenv("TARVIC_REGISTRY_FILE");
    const std::string path = CardRegistry::Path();
    if (::access("/etc", W_OK) == 0 || ::access("/etc/tarvic", W_OK) == 0)
        EXPECT_EQ(path, "/etc/tarvic/registry.ini");
    else
        EXPECT_EQ(path, tarvic::DefaultProfilePath("registry"));
}

}  // namespace
