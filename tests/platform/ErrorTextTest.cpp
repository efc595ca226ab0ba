#include <gtest/gtest.h>

#include <grp.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "support/PtyPeer.h"
#include "support/TempFolder.h"
#include "tarvic/platform/ErrorText.h"
#include "tarvic/platform/SerialPort.h"

using tarvic::FileErrorReason;
using tarvic::FileUse;
using tarvic::PortErrorText;

TEST(ErrorText, WordsWhyAPortCannotBeUsedInFrench)
{
    EXPECT_EQ(PortErrorText(ENOENT, "/dev/ttyUSB0"), "Port /dev/ttyUSB0 introuvable");
    EXPECT_EQ(PortErrorText(ENOENT, "COM33"), "Port COM33 (/dev/ttyUSB0) introuvable");
    EXPECT_EQ(PortErrorText(ENOTTY, "/tmp/port"), "/tmp/port n'est pas un port s\xE9rie");
    EXPECT_EQ(PortErrorText(EISDIR, "/tmp"), "/tmp n'est pas un port s\xE9rie");
    EXPECT_EQ(PortErrorText(EINVAL, "/dev/ttyS0"), "Impossible de configurer le port /dev/ttyS0");
    EXPECT_EQ(PortErrorText(EIO, "/dev/ttyS0"), "Erreur d'entr\xE9" "e-sortie sur le port /dev/ttyS0");
    EXPECT_EQ(PortErrorText(EBUSY, "/dev/ttyUSB-absent"), "Port /dev/ttyUSB-absent occup\xE9 par un autre programme");
    // An error without words of ours: its name, the same in every language.
    EXPECT_EQ(PortErrorText(EROFS, "COM3"), "Port COM3 (/dev/ttyS2) inaccessible (EROFS)");
    // The label goes in as the caller gives it.
    EXPECT_EQ(PortErrorText(ENOENT, "COM33", "%1"), "Port %1 introuvable");
}

TEST(ErrorText, APortRefusedToTheUserNamesTheGroupThatMayOpenIt)
{
    tarvic::test::TempFolder folder("error-text");
    const std::string device = folder / "port";
    std::ofstream(device) << "";
    // Root's group is no advice: the usual group of serial ports instead.
    ASSERT_EQ(::chown(device.c_str(), -1, 0), 0);
    EXPECT_EQ(PortErrorText(EACCES, device),
              "Acc\xE8s refus\xE9 \xE0 " + device + " : ajoutez l'utilisateur au groupe dialout");
    const group* tty = ::getgrnam("tty");
    ASSERT_NE(tty, nullptr);
    ASSERT_EQ(::chown(device.c_str(), -1, tty->gr_gid), 0);
    EXPECT_EQ(PortErrorText(EPERM, device),
              "Acc\xE8s refus\xE9 \xE0 " + device + " : ajoutez l'utilisateur au groupe tty");
}

TEST(ErrorText, APortHeldByAnotherProgramNamesIt)
{
    tarvic::test::PtyPeer peer;
    tarvic::SerialPort holder;
    ASSERT_TRUE(holder.Open(peer.SlavePath()));
    std::string program;
    std::getline(std::ifstream("/proc/self/comm"), program);
    EXPECT_EQ(PortErrorText(EBUSY, peer.SlavePath()), "Port " + peer.SlavePath() +
                                                          " occup\xE9 par un autre programme (" + program + ", pid " +
                                                          std::to_string(::getpid()) + ")");
}

TEST(ErrorText, WordsWhyAFileCannotBeReadOrWrittenInFrench)
{
    EXPECT_EQ(FileErrorReason(ENOENT, FileUse::Read), "fichier introuvable");
    EXPECT_EQ(FileErrorReason(ENOENT, FileUse::Write), "dossier introuvable");
    EXPECT_EQ(FileErrorReason(ENOTDIR, FileUse::Write), "dossier introuvable");
    EXPECT_EQ(FileErrorReason(EACCES, FileUse::Read), "acc\xE8s refus\xE9");
    EXPECT_EQ(FileErrorReason(EISDIR, FileUse::Write), "c'est un dossier");
    EXPECT_EQ(FileErrorReason(EBUSY, FileUse::Write), "occup\xE9 par un autre programme");
    EXPECT_EQ(FileErrorReason(ENOSPC, FileUse::Write), "disque plein");
    EXPECT_EQ(FileErrorReason(EROFS, FileUse::Write), "syst\xE8me de fichiers en lecture seule");
    EXPECT_EQ(FileErrorReason(0, FileUse::Write), "\xE9" "criture refus\xE9" "e");
    EXPECT_EQ(FileErrorReason(EXDEV, FileUse::Write), "erreur syst\xE8me EXDEV");
}
