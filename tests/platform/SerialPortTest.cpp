#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/ForeignProcess.h"
#include "support/PtyPeer.h"
#include "tarvic/platform/SerialPort.h"

using tarvic::SerialPort;

TEST(SerialPort, PortNamesMapToStableDevices)
{
    EXPECT_EQ(SerialPort::DevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(SerialPort::DevicePath("com32"), "/dev/ttyS31");
    EXPECT_EQ(SerialPort::DevicePath("COM33"), "/dev/ttyUSB0");
    EXPECT_EQ(SerialPort::DevicePath("COM65"), "/dev/ttyACM0");
    EXPECT_EQ(SerialPort::DevicePath("COM96"), "/dev/ttyACM31");
    EXPECT_EQ(SerialPort::DevicePath("COM97"), "");
    EXPECT_EQ(SerialPort::DevicePath("COM0"), "");
    EXPECT_EQ(SerialPort::DevicePath("COM"), "");
    EXPECT_EQ(SerialPort::DevicePath("COMx"), "");
    EXPECT_EQ(SerialPort::DevicePath("LPT1"), "");
    EXPECT_EQ(SerialPort::DevicePath("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(SerialPort::PortName("/dev/ttyS0"), "COM1");
    EXPECT_EQ(SerialPort::PortName("/dev/ttyUSB1"), "COM34");
    EXPECT_EQ(SerialPort::PortName("/dev/ttyACM31"), "COM96");
    EXPECT_EQ(SerialPort::PortName("/dev/ttyACM32"), "");
    EXPECT_EQ(SerialPort::PortName("/dev/pts/3"), "");
}

TEST(SerialPort, OpensExclusively)
{
    tarvic::test::PtyPeer peer;
    SerialPort first, second;
    ASSERT_TRUE(first.Open(peer.SlavePath()));
    EXPECT_FALSE(second.Open(peer.SlavePath()));
    first.Close();
    EXPECT_TRUE(second.Open(peer.SlavePath()));
}

TEST(SerialPort, CarriesBytesUntranslatedBothWays)
{
    tarvic::test::PtyPeer peer;
    SerialPort port;
    ASSERT_TRUE(port.Open(peer.SlavePath()));
    ASSERT_TRUE(port.SetLineSettings());
    port.SetReceiveMask(true);
    const std::string bytes("!A\r\n\x03\x11\x13\xFF", 8);
    ASSERT_TRUE(port.Write(bytes.data(), bytes.size()));
    EXPECT_EQ(peer.ReceiveUntil("\xFF"), bytes);
    peer.Send(bytes);
    ASSERT_EQ(port.WaitEvent(), SerialPort::Event::Received);
    tarvic::test::WaitUntil([&] { return port.QueuedInput() == bytes.size(); });
    char buffer[16];
    ASSERT_EQ(port.Read(buffer, sizeof buffer), 8);
    EXPECT_EQ(std::string(buffer, 8), bytes);
}

TEST(SerialPort, ClearingTheMaskReleasesAWaiterAtOnce)
{
    tarvic::test::PtyPeer peer;
    SerialPort port;
    ASSERT_TRUE(port.Open(peer.SlavePath()));
    port.SetReceiveMask(true);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        port.SetReceiveMask(false);
    });
    EXPECT_EQ(port.WaitEvent(), SerialPort::Event::None);
    stopper.join();
}

TEST(SerialPort, HangUpIsReportedAsLostNotAsData)
{
    tarvic::test::PtyPeer peer;
    SerialPort port;
    ASSERT_TRUE(port.Open(peer.SlavePath()));
    port.SetReceiveMask(true);
    peer.Send("!OK\r\n");
    ASSERT_EQ(port.WaitEvent(), SerialPort::Event::Received);
    char buffer[16];
    EXPECT_EQ(port.Read(buffer, sizeof buffer), 5);
    peer.HangUp();
    EXPECT_EQ(port.WaitEvent(), SerialPort::Event::Lost);
    EXPECT_EQ(port.WaitEvent(), SerialPort::Event::Lost);  // and again, without blocking
}

TEST(SerialPort, RefusesLineSettingsOfAFileThatIsNoTty)
{
    SerialPort port;
    ASSERT_TRUE(port.Open("/dev/null"));
    EXPECT_FALSE(port.SetLineSettings());
    EXPECT_FALSE(SerialPort().Open("/nonexistent/tty"));
}

TEST(SerialPort, KeepsTheReasonAPortCannotBeUsed)
{
    SerialPort port;
    EXPECT_EQ(port.LastError(), 0);
    EXPECT_FALSE(port.Open("/nonexistent/tty"));
    EXPECT_EQ(port.LastError(), ENOENT);
    EXPECT_FALSE(port.Open("LPT1"));  // a name that stands for no device
    EXPECT_EQ(port.LastError(), ENOENT);
    EXPECT_FALSE(port.Open("/"));
    EXPECT_EQ(port.LastError(), EISDIR);
    ASSERT_TRUE(port.Open("/dev/null"));
    EXPECT_EQ(port.LastError(), 0);
    EXPECT_FALSE(port.SetLineSettings());
    EXPECT_EQ(port.LastError(), ENOTTY);
    port.Close();
    EXPECT_EQ(port.LastError(), ENOTTY);  // closing forgets nothing

    tarvic::test::PtyPeer peer;
    SerialPort first, second;
    ASSERT_TRUE(first.Open(peer.SlavePath()));
    EXPECT_FALSE(second.Open(peer.SlavePath()));
    EXPECT_EQ(second.LastError(), EBUSY);
    first.SetReceiveMask(true);
    peer.HangUp();
    EXPECT_EQ(first.WaitEvent(), SerialPort::Event::Lost);
    EXPECT_EQ(first.LastError(), EIO);
}

TEST(SerialPort, NamesTheProgramThatHoldsThePort)
{
    tarvic::test::PtyPeer peer;
    EXPECT_FALSE(SerialPort::FindHolder(peer.SlavePath()));  // open, but nobody holds it
    tarvic::test::PortHolder holder(peer.SlavePath());
    ASSERT_TRUE(holder.Holds());
    SerialPort port;
    EXPECT_FALSE(port.Open(peer.SlavePath()));
    EXPECT_EQ(port.LastError(), EBUSY);
    const auto found = SerialPort::FindHolder(peer.SlavePath());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->pid, holder.Pid());
    EXPECT_EQ(found->program, tarvic::test::PortHolder::kName);
    holder.Release();
    EXPECT_FALSE(SerialPort::FindHolder(peer.SlavePath()));
    EXPECT_TRUE(port.Open(peer.SlavePath()));
}

// Root opens a device of any mode; the unprivileged user the message is for
// does not, so the open is tried by a child that has become "nobody".
TEST(SerialPort, ADeviceTheUserMayNotOpenIsAccessDenied)
{
    tarvic::test::PtyPeer peer;
    EXPECT_EQ(tarvic::test::OpenErrorAsUnprivileged("/nonexistent/tty"), ENOENT);
    ASSERT_EQ(::chmod(peer.SlavePath().c_str(), 0), 0);
    EXPECT_EQ(tarvic::test::OpenErrorAsUnprivileged(peer.SlavePath()), EACCES);
}
