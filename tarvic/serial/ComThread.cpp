#include "tarvic/serial/ComThread.h"

#include <algorithm>
#include <vector>

#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Clock.h"
#include "tarvic/platform/MessageBox.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Trace.h"

TARVIC_IMPLEMENT_SERIAL(CComThread, CWinThread, 0)

namespace {

constexpr int kChunkSize = 300;
// All the driver's input queue holds, in one read: a block reply of 2,057
// bytes is one read, not seven.
constexpr int kReadSize = 8192;
constexpr std::uint32_t kStopPollMs = 100;
// Released by the cleared receive mask, the loop ends within microseconds; the
// grace lets the stop's first check see it done even on a busy machine.
constexpr std::uint32_t kStopGraceMs = 1000;
constexpr int kStopCheckRewake = 5;
// On a port that never takes a character (closed, or held by flow control)
// EnvoiCommand gives up on it after this long.
constexpr std::uint32_t kCharacterRetryLimitMs = 1000;

// Sleeps until the tick has moved `ticks` past `from`: the pace of the
// host's senders, without their busy wait.
void WaitTicks(std::uint32_t from, std::uint32_t ticks)
{
    for (std::uint32_t elapsed; (elapsed = tarvic::GetTickCount() - from) < ticks;) tarvic::Sleep(ticks - elapsed);
}

}  // namespace

CComThread::CComThread() : CComThread(tarvic::GetProfile()->GetProfileString("CONFIGURATION", "PORT", "COM1")) {}

CComThread::CComThread(const std::string& port) : m_port(port) {}

CComThread::~CComThread()
{
    // The owner should have stopped the loop; if not, stop it now rather than
    // pull the port from under a running thread.
    if (IsStarted() && !m_stop) {
        m_run = false;
        hcom.SetReceiveMask(false);
        m_evReveil.SetEvent();
    }
    WaitForThreadEnd();
    if (hcom.IsOpen()) {
        hcom.Purge();
        hcom.Close();
    }
}

void CComThread::Serialize(CArchive& ar) { CObject::Serialize(ar); }

bool CComThread::InitInstance()
{
    InitPort();
    return true;  // Run follows even without a port: it idles until stopped
}

bool CComThread::InitPort()
{
    const int previousError = hcom.LastError();
    if (!hcom.Open(m_port)) return false;
    if (!hcom.SetLineSettings()) {
        // Said once: a reopening thread meets the same refusal at every attempt.
        if (hcom.LastError() != previousError)
            tarvic::MessageBox("Impossible de configurer le port", m_port, tarvic::MessageIcon::Stop);
        hcom.Close();
        return false;
    }
    hcom.SetReceiveMask(true);
    hcom.Purge();
    // The flag first: whoever the event wakes sees the port marked open.
    m_portOuvert = 1;
    m_evPortOuvert.SetEvent();
    m_evReveil.SetEvent();  // a loop idling without a port can now wait on it
    return true;
}

void CComThread::Closeport()
{
    m_evPortOuvert.ResetEvent();
    hcom.Close();  // clears the receive mask and purges first
}

void CComThread::SetPort(const std::string& port) { m_port = port; }

std::string CComThread::LitPort() const { return m_port; }

CEvent* CComThread::LitOpenPort() { return &m_evPortOuvert; }

int CComThread::LitErreurPort() const { return hcom.IsOpen() ? 0 : hcom.LastError(); }

CEvent* CComThread::LitPortPerdu() { return &m_evPortPerdu; }

std::uint64_t CComThread::LitOctetsRecus() const { return m_octetsRecus; }

void CComThread::SetReouverture(bool active, std::uint32_t periodeMs)
{
    m_periodeReouverture = periodeMs;
    m_reouverture = active;
    m_evReveil.SetEvent();  // an idle loop starts (or stops) trying at once
}

unsigned CComThread::WaitPortEvent()
{
    if (!hcom.IsOpen()) {
        // Nothing to wait on: sleep until stopped or given a port, or, when
        // reopening, until the next attempt is due.
        m_evReveil.Wait(m_reouverture ? m_periodeReouverture.load() : CEvent::kInfinite);
        m_evReveil.ResetEvent();
        if (m_run && m_reouverture && !hcom.IsOpen()) InitPort();
        return 0;
    }
    switch (hcom.WaitEvent()) {
    case tarvic::SerialPort::Event::Received: return kEvRxChar;
    case tarvic::SerialPort::Event::None: return 0;
    case tarvic::SerialPort::Event::Lost: break;
    }
    // Hung up or in error (adapter pulled, simulator gone): polling it again
    // would only spin, so the port is closed and the loop idles or reopens.
    Closeport();
    m_evPortPerdu.SetEvent();
    return 0;
}

int CComThread::Run()
{
    m_evPortOuvert.SetEvent();
    std::vector<char> received(kReadSize);
    while (m_run) {
        unsigned eventWord = 0;
        if (m_run) eventWord = WaitPortEvent();
        if ((eventWord & kEvRxChar) && m_run) {
            // Only a full buffer says more may be queued. A shorter read took
            // all there was: reading again, a system call more per wake-up,
            // mostly finds a few bytes or none, and the wait returns at once
            // for anything that has come since (a third of the reading's
            // processor time on a stream of short replies).
            int count;
            do {
                count = ReadQueued(received.data(), kReadSize);
                if (count > 0) DeliverRead(received.data(), count);
            } while (count == kReadSize);
        }
    }
    m_stop = true;
    tarvic::Trace("fin process com\n");
    m_evPortOuvert.ResetEvent();
    m_evFin.SetEvent();
    return 0;
}

void CComThread::DeliverRead(const char* bytes, int count)
{
    // The chunks that reads of kChunkSize, one after the other, would have
    // returned: the trace and the point event see the same cuts.
    for (int at = 0; at < count; at += kChunkSize) DeliverChunk(bytes + at, std::min(kChunkSize, count - at));
}

void CComThread::DeliverChunk(const char* chunk, int length)
{
    m_octetsRecus += static_cast<std::uint64_t>(length);
    tarvic::Trace(std::string_view(chunk, static_cast<std::size_t>(length)));
    if (length == 1 && chunk[0] == '.') m_evPoint.SetEvent();
    m_assembleur.Feed(std::string_view(chunk, static_cast<std::size_t>(length)),
                      [this](std::string_view line, tarvic::LineAssembler::End end) {
                          if (end == tarvic::LineAssembler::End::CrLf && m_traite)
                              TraiteRecept(std::string(line));
                          else
                              tarvic::Trace("manque d\n");
                      });
}

int CComThread::ExitInstance()
{
    m_run = false;
    tarvic::Trace("ExitInstance process com\n");
    if (hcom.IsOpen()) {
        tarvic::Trace("hcom!=NULL\n");
        hcom.SetReceiveMask(false);
    }
    m_evReveil.SetEvent();
    if (IsStarted()) {
        m_evFin.Wait(kStopGraceMs);
        for (int checks = 0; !m_stop;) {
            tarvic::Trace("thread stop==false\n");
            if (++checks == kStopCheckRewake) m_evReveil.SetEvent();
            if (hcom.IsOpen()) hcom.SetReceiveMask(false);
            tarvic::Sleep(kStopPollMs);
        }
    }
    if (hcom.IsOpen()) hcom.Purge();
    return CWinThread::ExitInstance();
}

void CComThread::EnvoiCommand(const std::string& text)
{
    if (!hcom.IsOpen()) return;  // no driver to take anything
    for (const char c : text) {
        const std::uint32_t start = tarvic::GetTickCount();
        while (!hcom.TransmitChar(c)) {
            if (tarvic::GetTickCount() - start >= kCharacterRetryLimitMs) return;
            WaitTicks(tarvic::GetTickCount(), 1);  // asked again at the next tick
        }
        WaitTicks(tarvic::GetTickCount(), 1);
    }
}

void CComThread::EnvoiCommande(const std::string& text)
{
    for (const char c : text) {
        const std::uint32_t requested = tarvic::GetTickCount();
        hcom.TransmitChar(c);
        WaitTicks(requested, 30);
    }
}

int CComThread::ReadCommBlock(char* buffer, int maxLength)
{
    const std::size_t queued = hcom.QueuedInput();
    if (queued == 0 || maxLength <= 0) return 0;
    return ReadQueued(buffer, static_cast<int>(std::min(queued, static_cast<std::size_t>(maxLength))));
}

int CComThread::ReadQueued(char* buffer, int size)
{
    // The port never blocks a read: it returns what is queued, up to `size`,
    // so the reading loop need not ask how much first.
    m_ovLecture.hEvent.ResetEvent();
    const long got = hcom.Read(buffer, static_cast<std::size_t>(size));
    m_ovLecture.hEvent.SetEvent();
    return static_cast<int>(got);
}

int CComThread::WriteCommBlock(const char* buffer, int length)
{
    if (length < 0) return 0;
    m_ovEcriture.hEvent.ResetEvent();
    const bool written = hcom.Write(buffer, static_cast<std::size_t>(length));
    m_ovEcriture.hEvent.SetEvent();
    return written ? 1 : 0;
}

void CComThread::TraiteRecept(std::string) {}
