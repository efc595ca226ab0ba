#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "tarvic/platform/Event.h"
#include "tarvic/platform/SerialPort.h"
#include "tarvic/platform/WinThread.h"
#include "tarvic/serial/LineAssembler.h"

// The completion record of one kind of port I/O: its event is reset when an
// operation starts and set when it has completed.
struct TARVIC_EXPORT COverlapped {
    CEvent hEvent;
};

// Owns the serial port that leads to the interface card. Its thread opens and
// configures the port, then assembles the received bytes into lines and hands
// each complete line to TraiteRecept, which a subclass overrides. Senders
// write from their own thread; nothing is added to what they send.
class TARVIC_EXPORT CComThread : public CWinThread {
    TARVIC_DECLARE_DYNCREATE(CComThread)

public:
    // Port from the profile, section "CONFIGURATION", entry "PORT", default "COM1".
    CComThread();
    explicit CComThread(const std::string& port);
    ~CComThread() override;

    void Serialize(CArchive& ar) override;
    bool InitInstance() override;
    int Run() override;
    int ExitInstance() override;

    bool InitPort();
    void Closeport();
    void SetPort(const std::string& port);
    std::string LitPort() const;
    CEvent* LitOpenPort();

    void EnvoiCommand(const std::string& text);
    void EnvoiCommande(const std::string& text);
    int ReadCommBlock(char* buffer, int maxLength);
    int WriteCommBlock(const char* buffer, int length);

    // Called on the reading thread for every complete line while m_traite is set.
    virtual void TraiteRecept(std::string line);

    // Why the port is not open (an errno: ENOENT, EACCES, EBUSY, ENOTTY, EIO
    // once the open line was lost...); 0 while it is open or before any attempt.
    int LitErreurPort() const;
    // Signalled each time the open port is lost (hung up, in error); the port
    // is then closed. Reset by the owner once it has taken note.
    CEvent* LitPortPerdu();
    static constexpr std::uint32_t kPeriodeReouvertureMs = 2000;
    // Opt-in, off at construction: while the port is closed (never opened, or
    // lost) the reading thread tries to open it again every `periodeMs`.
    // Without it the thread idles with no port until stopped.
    void SetReouverture(bool active, std::uint32_t periodeMs = kPeriodeReouvertureMs);
    // Bytes read from the port since construction, lines complete or not: an
    // owner waiting on a reply tells one still arriving from a silent card.
    std::uint64_t LitOctetsRecus() const;

    std::string m_port;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_run{true};
    std::atomic<int> m_portOuvert{0};
    tarvic::SerialPort hcom;  // "null" while !hcom.IsOpen()
    CEvent m_evPortOuvert;
    COverlapped m_ovLecture;
    COverlapped m_ovEcriture;
    CEvent m_evPoint;
    std::atomic<bool> m_traite{false};
    std::atomic<bool> m_prompt{false};

private:
    enum : unsigned { kEvRxChar = 0x0001 };
    unsigned WaitPortEvent();
    int ReadQueued(char* buffer, int size);
    void DeliverRead(const char* bytes, int count);
    void DeliverChunk(const char* chunk, int length);

    tarvic::LineAssembler m_assembleur;
    CEvent m_evReveil;  // releases the loop while it idles with no port
    CEvent m_evFin;     // the loop has ended
    CEvent m_evPortPerdu;
    std::atomic<bool> m_reouverture{false};
    std::atomic<std::uint32_t> m_periodeReouverture{kPeriodeReouvertureMs};
    std::atomic<std::uint64_t> m_octetsRecus{0};
};
