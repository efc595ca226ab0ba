// A port that is missing, held by another program, no serial port at all or
// closed to the user: the status line says which, and the panel opens the
// port as soon as it can.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QAbstractButton>

#include "PanelFixture.h"
#include "common/PortStatus.h"
#include "support/ForeignProcess.h"
#include "support/ScriptedCard.h"
#include "support/TempFolder.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

using tarvic::test::ScriptedCard;

class PanelPort : public PanelFixture {
protected:
    tarvic::test::TempFolder m_folder{"panel-port"};
};

TEST_F(PanelPort, AMissingPortIsSaidThenOpenedAsSoonAsItAppears)
{
    ScriptedCard card;
    const std::string link = m_folder / "carte";
    OpenOn(link, TorvaneVariant());
    ASSERT_TRUE(CycleUntil([&] { return Status() == "Port " + link + " introuvable"; }));
    EXPECT_FALSE(Control(1015)->isEnabled());
    ASSERT_EQ(::symlink(card.Path().c_str(), link.c_str()), 0);
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    EXPECT_EQ(Status(), "LEL 00 00");
    EXPECT_TRUE(Control(1015)->isEnabled());
    ExpectPromptClose();
}

TEST_F(PanelPort, AMissingPortIsNeitherWrittenToNorWaitedFor)
{
    OpenOn(m_folder / "absente", VarnokVariant());
    ASSERT_TRUE(CycleUntil([&] { return Status() == "Port " + (m_folder / "absente") + " introuvable"; }));
    // The greeting of the cycle goes nowhere: it leaves the queue at once, unjournaled.
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return Queue().empty(); }));
    const auto stats = Stats();
    EXPECT_EQ(stats.envoyees, 0);
    EXPECT_EQ(stats.delais, 0);
    EXPECT_EQ(stats.renvois, 0);
    const auto journal = Process().Journal();
    EXPECT_TRUE(journal->Entrees().empty());
    EXPECT_EQ(LiveIndicators(), 0u);
    EXPECT_FALSE(Control(1002)->isEnabled());
    ExpectPromptClose();
    // Not even the closing order: there was no port to take it.
    EXPECT_EQ(journal->LitStatistiques().envoyees, 0);
}

TEST_F(PanelPort, AComNameIsShownWithItsDevice)
{
    OpenOn("COM64", VarnokVariant());
    EXPECT_TRUE(CycleUntil([&] { return Status() == "Port COM64 (/dev/ttyUSB31) introuvable"; }));
    ExpectPromptClose();
}

TEST_F(PanelPort, APortHeldByAnotherProgramNamesItThenOpensWhenItIsLetGo)
{
    ScriptedCard card;
    tarvic::test::PortHolder holder(card.Path());
    ASSERT_TRUE(holder.Holds());
    OpenOn(card.Path(), VarnokVariant());
    const std::string busy = "Port " + card.Path() + " occup\xC3\xA9 par un autre programme (porteur, pid " +
                             std::to_string(holder.Pid()) + ")";
    ASSERT_TRUE(CycleUntil([&] { return Status() == busy; }));
    holder.Release();
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    EXPECT_EQ(Text(1004), " CARTE 1.0");
    ExpectPromptClose();
}

TEST_F(PanelPort, ADeviceThatIsNoSerialPortIsSaidWithOneMessage)
{
    tarvic::test::MessageBoxCapture boxes;
    for (const char* device : {"/dev/null", "/tmp"}) {
        OpenOn(device, VarnokVariant());
        EXPECT_TRUE(CycleUntil([&] { return Status() == std::string(device) + " n'est pas un port s\xC3\xA9rie"; }));
        ExpectPromptClose();
    }
    // Refused settings are told once, however often the panel tries again.
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Impossible de configurer le port");
    EXPECT_EQ(boxes.Boxes()[0].caption, "/dev/null");
}

// The panel runs as root here, which no device mode stops: the open itself is
// tried by an unprivileged child, and its errno is the one the panel words.
TEST_F(PanelPort, APortTheUserMayNotOpenSaysWhichGroupToJoin)
{
    const std::string device = m_card.SlavePath();
    std::string group = "tty";  // a pty's group, for a user who cannot change it
    if (const ::group* dialout = ::getgrnam("dialout"); dialout && ::chown(device.c_str(), -1, dialout->gr_gid) == 0)
        group = "dialout";
    ASSERT_EQ(::chmod(device.c_str(), 0), 0);
    const int error = tarvic::test::OpenErrorAsUnprivileged(device);
    ASSERT_EQ(error, EACCES);
    EXPECT_EQ(PortStatusText(device, error).toStdString(),
              "Acc\xC3\xA8s refus\xC3\xA9 \xC3\xA0 " + device + " : ajoutez l'utilisateur au groupe " + group);
}

TEST(PortStatusText, WordsEachReason)
{
    const auto text = [](const std::string& port, int error) { return PortStatusText(port, error).toStdString(); };
    EXPECT_EQ(text("/dev/ttyUSB0", ENOENT), "Port /dev/ttyUSB0 introuvable");
    EXPECT_EQ(text("/dev/ttyUSB0", EIO), "Erreur d'entr\xC3\xA9" "e-sortie sur le port /dev/ttyUSB0");
    EXPECT_EQ(text("/dev/ttyS0", EINVAL), "Impossible de configurer le port /dev/ttyS0");
    EXPECT_EQ(text("/dev/xyz", ENOTTY), "/dev/xyz n'est pas un port s\xC3\xA9rie");
    EXPECT_EQ(text("COM3", EROFS), "Port COM3 (/dev/ttyS2) inaccessible (EROFS)");
    EXPECT_EQ(text("LPT1", ENOENT), "Port LPT1 introuvable");
    // A device path is a file name: its bytes are read in the file-name encoding.
    EXPECT_EQ(text("/dev/serial/by-id/usb-Caf\xC3\xA9-port0", ENOENT),
              "Port /dev/serial/by-id/usb-Caf\xC3\xA9-port0 introuvable");
}

}  // namespace
