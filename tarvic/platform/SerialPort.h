#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>

#include "tarvic/platform/Export.h"

namespace tarvic {

// One serial device, opened exclusively, with the operations the host's
// communication interface gives: line settings, receive-event wait, queue
// status, purge, immediate character transmission. The wait can be released
// at once from another thread (by clearing the receive mask), and closing
// waits until no thread is inside the wait, so a descriptor is never used
// after it has been closed.
class TARVIC_EXPORT SerialPort {
public:
    enum class Event { None, Received, Lost };

    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // The device of a port name: a name with a '/' is a path as it stands;
    // COM1..COM32 are /dev/ttyS0..31, COM33..COM64 /dev/ttyUSB0..31,
    // COM65..COM96 /dev/ttyACM0..31. Other names give "".
    static std::string DevicePath(const std::string& portName);
    // The inverse, for listing devices: "" for a device outside the mapping.
    static std::string PortName(const std::string& devicePath);

    // Opens for reading and writing, exclusively (no other opener, even of ours).
    bool Open(const std::string& portName);
    // 57600 baud, 8 data bits, no parity, 2 stop bits, binary: no translation
    // of any byte, modem lines ignored. False when the device refuses them.
    bool SetLineSettings();
    bool IsOpen() const;
    void Close();

    // Why the port is not usable: the errno of the last failed Open or
    // SetLineSettings (ENOENT: no such device, EACCES, EBUSY: held by another
    // opener, ENOTTY or EISDIR: no serial port, EIO...), or EIO once the open
    // line was lost. 0 after a successful Open; Close keeps it.
    int LastError() const;

    // The program holding the port's lock, when the lock table names one.
    struct Holder {
        int pid;
        std::string program;
    };
    static std::optional<Holder> FindHolder(const std::string& portName);

    // The receive-character event on or off; turning it off releases a waiter.
    void SetReceiveMask(bool enabled);
    // Blocks until bytes are waiting (Received), the mask is turned off (None),
    // or the line is gone: hung up or in error (Lost).
    Event WaitEvent();

    std::size_t QueuedInput() const;
    // At most `max` bytes of what is queued; 0 when nothing is, -1 when the line is gone.
    long Read(char* buffer, std::size_t max);
    // Writes all of `data`, waiting up to a second for a full driver queue.
    bool Write(const char* data, std::size_t size);
    // One byte ahead of queued output; false when the driver does not take it now.
    bool TransmitChar(char c);
    // Drops what is queued in both directions.
    void Purge();

private:
    void Wake();
    void Fail(int error);

    int m_fd = -1;
    int m_error = 0;
    int m_wakeFd = -1;  // eventfd that releases WaitEvent
    bool m_receiveMask = false;
    int m_waiters = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_noWaiter;
};

}  // namespace tarvic
