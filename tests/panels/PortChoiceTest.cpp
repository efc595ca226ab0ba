// The port dialog: what it proposes, what it stores, where.
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <QStandardItemModel>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "common/CardRegistry.h"
#include "common/SelPort.h"
#include "tarvic/platform/IniProfile.h"
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
    EXPECT_TRUE(panel.PortChange());  // for the program to open it again on COM3
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

TEST_F(PortDialog, AProfileThatCannotBeWrittenIsSaidAndThePanelStaysOpen)
{
    // A file where the profile's folder should be: nobody, not even root, writes there.
    std::ofstream((m_directory / "blocker").string()) << "x";
    tarvic::SetProfile(std::make_shared<tarvic::IniProfile>((m_directory / "blocker" / "Varnok.ini").string()));
    CPanelDlg panel(VarnokVariant());
    QString error;
    ChoosePort(panel, 1021, [&](CSelPort& dialog) {
        dialog.Combo()->setEditText("COM3");
        dialog.findChild<QPushButton*>("1")->click();
        EXPECT_TRUE(dialog.isVisible());  // still there, saying why
        error = dialog.LitErreur();
        dialog.findChild<QPushButton*>("2")->click();
    });
    EXPECT_EQ(error, QString::fromLatin1(
                         "Impossible d'enregistrer le port dans le profil du programme : dossier introuvable"));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_FALSE(panel.PortChange());
    EXPECT_FALSE(fs::exists(m_registry));
}

// A configuration on a file system mounted read-only.
class ReadOnlyProfile : public tarvic::MemoryProfile {
public:
    bool WriteProfileString(const std::string&, const std::string&, const std::string&) override
    {
        errno = EROFS;
        return false;
    }
};

TEST_F(PortDialog, TheWholeReasonIsShownOnAsManyLinesAsItTakes)
{
    tarvic::SetProfile(std::make_shared<ReadOnlyProfile>());
    CPanelDlg panel(VarnokVariant());
    QString error, shown;
    QRect label, inside;
    int lineHeight = 0, heightNeeded = 0;
    ChoosePort(panel, 1021, [&](CSelPort& dialog) {
        dialog.Combo()->setEditText("COM3");
        dialog.findChild<QPushButton*>("1")->click();
        QApplication::processEvents();  // the layout's pending requests, as the event loop takes them
        error = dialog.LitErreur();
        const QLabel* reason = dialog.findChild<QLabel*>();
        shown = reason->text();
        label = reason->geometry();
        inside = dialog.contentsRect();
        lineHeight = reason->fontMetrics().lineSpacing();
        heightNeeded = reason->heightForWidth(label.width());
        dialog.reject();
    });
    const QString whole = QString::fromLatin1(
        "Impossible d'enregistrer le port dans le profil du programme : syst\xE8me de fichiers en lecture seule");
    EXPECT_EQ(error, whole);
    EXPECT_EQ(shown, whole);
    // Wrapped on several lines, each of them inside the dialog.
    EXPECT_GT(heightNeeded, lineHeight);
    EXPECT_GE(label.height(), heightNeeded);
    EXPECT_TRUE(inside.contains(label)) << label.x() << "," << label.y() << " " << label.width() << "x"
                                        << label.height() << " in " << inside.width() << "x" << inside.height();
}

TEST_F(PortDialog, ACardPortRecordThatCannotBeWrittenLeavesTheProfileAsItWas)
{
    std::ofstream((m_directory / "blocker").string()) << "x";
    const std::string blocked = (m_directory / "blocker" / "registry.ini").string();
    ::setenv("TARVIC_REGISTRY_FILE", blocked.c_str(), 1);
    m_profile->WriteProfileString("CONFIGURATION", "PORT", "COM2");
    CPanelDlg panel(TorvaneVariant());
    QString error;
    ChoosePort(panel, 1000, [&](CSelPort& dialog) {
        dialog.Combo()->setEditText("COM3");
        dialog.accept();
        error = dialog.LitErreur();
        dialog.reject();
    });
    EXPECT_EQ(error, QString::fromLatin1("Impossible d'enregistrer le port de la carte dans %1 : dossier introuvable")
                         .arg(QString::fromStdString(blocked)));
    EXPECT_EQ(m_profile->GetProfileString("CONFIGURATION", "PORT", ""), "COM2");
    EXPECT_TRUE(panel.isVisible());

    // Where the profile had no port, it keeps the one in use: COM1, the default.
    auto empty = std::make_shared<tarvic::MemoryProfile>();
    tarvic::SetProfile(empty);
    ChoosePort(panel, 1000, [&](CSelPort& dialog) {
        dialog.Combo()->setEditText("COM3");
        dialog.accept();
        dialog.reject();
    });
    EXPECT_EQ(empty->GetProfileString("CONFIGURATION", "PORT", ""), "COM1");
}

// Devices as the system lists them, and a folder of aliases beside them.
class PortList : public PortDialog {
protected:
    PortList()
    {
        fs::create_directories(m_aliases);
        Alias("usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0", "/dev/ttyUSB0");
        Alias("usb-Soci\xC3\xA9t\xC3\xA9_Carte_42-if00", "/dev/ttyUSB0");
        Alias("usb-Autre_X-if00", "../../ttyX9");  // relative, as udev makes them
    }
    void Alias(const std::string& name, const std::string& target) { fs::create_symlink(target, m_aliases / name); }
    std::string AliasPath(const std::string& name) const { return (m_aliases / name).string(); }

    const fs::path m_aliases = m_directory / "dev" / "serial" / "by-id";
    const std::string m_deviceX9 = (m_directory / "dev" / "ttyX9").string();
    const std::vector<PortDevice> m_devices{
        {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A6008isP"},
        {"/dev/ttyS0", "", "", ""},
        {"/dev/ttyAMA0", "ttyAMA0", "", ""},  // no COM name, no alias: not offered
        {m_deviceX9, "Autre", "Fabricant \xE9", "9"},
    };
};

TEST_F(PortList, OffersEachDeviceUnderItsComNameThenItsAliases)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (const PortEntry& entry : PortEntries(m_devices, m_aliases.string()))
        entries.emplace_back(entry.name, entry.device->path);
    EXPECT_EQ(entries, (std::vector<std::pair<std::string, std::string>>{
                           {"COM33", "/dev/ttyUSB0"},
                           {AliasPath("usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0"), "/dev/ttyUSB0"},
                           {AliasPath("usb-Soci\xC3\xA9t\xC3\xA9_Carte_42-if00"), "/dev/ttyUSB0"},
                           {"COM1", "/dev/ttyS0"},
                           {AliasPath("usb-Autre_X-if00"), m_deviceX9},
                       }));
}

TEST_F(PortList, ShowsEachPortWithItsDeviceDescriptionMakerAndSerialNumber)
{
    CSelPort dialog(VarnokVariant(), "COM33", nullptr, m_devices, m_aliases.string());
    const QAbstractItemModel* model = dialog.Combo()->model();
    ASSERT_EQ(model->rowCount(), 5);
    ASSERT_EQ(model->columnCount(), 5);
    QStringList headers, first;
    for (int column = 0; column < 5; ++column) {
        headers << model->headerData(column, Qt::Horizontal).toString();
        first << model->index(0, column).data().toString();
    }
    EXPECT_EQ(headers, (QStringList{"Port", QString::fromLatin1("P\xE9riph\xE9rique"), "Description", "Fabricant",
                                    QString::fromLatin1("N\xB0 de s\xE9rie")}));
    EXPECT_EQ(first, (QStringList{"COM33", "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A6008isP"}));
    EXPECT_EQ(model->index(2, 0).data().toString(),
              QString::fromStdString(AliasPath("usb-Soci\xC3\xA9t\xC3\xA9_Carte_42-if00")));
    EXPECT_EQ(dialog.Combo()->currentText(), "COM33");
}

TEST_F(PortList, APathIsShownAndStoredInTheFileNameEncoding)
{
    const std::string alias = AliasPath("usb-Soci\xC3\xA9t\xC3\xA9_Carte_42-if00");
    {
        CSelPort dialog(VarnokVariant(), "COM1", nullptr, m_devices, m_aliases.string());
        dialog.Combo()->setCurrentIndex(2);
        EXPECT_TRUE(dialog.Combo()->currentText().contains(QString::fromUtf8("Soci\xC3\xA9t\xC3\xA9")));
        dialog.accept();
        EXPECT_EQ(dialog.LitPort(), alias);  // the link's own bytes, not Latin-1
    }
    // A stored path comes back as the user chose it, and a typed one goes in as a file name.
    CSelPort dialog(VarnokVariant(), alias, nullptr, m_devices, m_aliases.string());
    EXPECT_EQ(dialog.Combo()->currentText(), QString::fromStdString(alias));
    dialog.Combo()->setEditText(QString::fromUtf8("/dev/serial/by-id/Caf\xC3\xA9"));
    dialog.accept();
    EXPECT_EQ(dialog.LitPort(), "/dev/serial/by-id/Caf\xC3\xA9");
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
