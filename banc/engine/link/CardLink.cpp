#include "engine/link/CardLink.h"

#include <tarvic/serial/ComThread.h>

#include <cctype>

namespace banc {
namespace {

// How long the serial thread may take to open and configure the port.
constexpr std::uint32_t kOpenTimeoutMs = 5000;
constexpr std::size_t kLineEnd = 2;  // CR LF
// Past the longest line the reader keeps, the bytes received cannot all be
// the reply: a card that talks without end gets no more time.
constexpr std::uint64_t kLongestReply = tarvic::LineAssembler::kMaxLine + kLineEnd;

}  // namespace

// The serial thread: hands every complete line to the link.
class CardLink::Reader : public CComThread {
public:
    Reader(CardLink& link, const std::string& port) : CComThread(port), m_link(link) { m_traite = true; }
    ~Reader() override { ExitInstance(); }
    void TraiteRecept(std::string line) override { m_link.Deliver(std::move(line)); }

private:
    CardLink& m_link;
};

CardLink::CardLink(std::string port, LinkTiming timing) : m_port(std::move(port)), m_timing(timing) {}

CardLink::~CardLink()
{
    // The serial thread hands lines to the members below: it stops before they go.
    m_reader.reset();
}

bool CardLink::Open()
{
    m_reader = std::make_unique<Reader>(*this, m_port);
    m_reader->CreateThread();
    // Signalled once the thread tried the port (it runs even without one).
    m_reader->LitOpenPort()->Wait(kOpenTimeoutMs);
    return IsOpen();
}

bool CardLink::IsOpen() const { return m_reader && m_reader->hcom.IsOpen(); }

int CardLink::OpenError() const { return m_reader ? m_reader->LitErreurPort() : 0; }

void CardLink::Deliver(std::string line)
{
    m_bytes += line.size() + kLineEnd;
    std::lock_guard lock(m_mutex);
    m_lines.push_back(std::move(line));
    m_evLine.SetEvent();
}

void CardLink::Abort() { m_evAbort.SetEvent(); }

void CardLink::Resume() { m_evAbort.ResetEvent(); }

bool CardLink::Answers(char prefix, const std::string& text, const std::string& line)
{
    if (line == "!Erreur") return true;
    if (prefix == '!') return line == "!OK";
    // The mnemonic: the request's leading letters ("TEM" of "TEM05").
    std::size_t letters = 0;
    while (letters < text.size() && std::isupper(static_cast<unsigned char>(text[letters]))) ++letters;
    return letters > 0 && line.find(text.substr(0, letters)) != std::string::npos;
}

CardLink::ReplyClock CardLink::StartClock(std::chrono::milliseconds quiet) const
{
    const std::uint64_t received = m_reader->LitOctetsRecus();
    return {quiet, std::chrono::steady_clock::now() + quiet, received, received};
}

void CardLink::ExtendWhileArriving(ReplyClock& clock) const
{
    const std::uint64_t received = m_reader->LitOctetsRecus();
    if (received != clock.seen && received - clock.sent <= kLongestReply)
        clock.deadline = std::chrono::steady_clock::now() + clock.quiet;
    clock.seen = received;
}

bool CardLink::TakeLine(std::string& line)
{
    std::lock_guard lock(m_mutex);
    if (m_lines.empty()) return false;
    line = std::move(m_lines.front());
    m_lines.pop_front();
    if (m_lines.empty()) m_evLine.ResetEvent();
    return true;
}

void CardLink::DropLines()
{
    std::lock_guard lock(m_mutex);
    m_lines.clear();
    m_evLine.ResetEvent();
}

CardLink::Wait CardLink::WaitLine(ReplyClock& clock, std::string& line)
{
    while (true) {
        if (m_evAbort.IsSignalled()) return Wait::Aborted;
        if (TakeLine(line)) return Wait::Line;
        // The serial thread closes a port that hung up before it tells.
        if (!IsOpen()) return Wait::Lost;
        ExtendWhileArriving(clock);
        const auto left = clock.deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return Wait::TimedOut;
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
        CEvent::WaitForMultiple({&m_evAbort, &m_evLine, m_reader->LitPortPerdu()}, static_cast<std::uint32_t>(ms));
    }
}

CardLink::Reply CardLink::Exchange(char prefix, const std::string& text) { return Exchange(prefix, text, m_timing); }

CardLink::Reply CardLink::Exchange(char prefix, const std::string& text, const LinkTiming& timing)
{
    const std::string out = prefix + text + "\r\n";
    for (int attempt = 0; attempt < timing.attempts; ++attempt) {
        DropLines();  // what is left over belongs to no request of ours any more
        if (m_evAbort.IsSignalled()) return {Status::Aborted, {}};
        if (!IsOpen()) return {Status::Lost, {}};
        ReplyClock clock = StartClock(timing.reply);
        m_reader->WriteCommBlock(out.data(), static_cast<int>(out.size()));
        m_bytes += out.size();
        std::string line;
        while (true) {
            const Wait wait = WaitLine(clock, line);
            if (wait == Wait::Aborted) return {Status::Aborted, {}};
            if (wait == Wait::Lost) return {Status::Lost, {}};
            if (wait == Wait::TimedOut) break;
            if (Answers(prefix, text, line)) return {Status::Replied, std::move(line)};
        }
    }
    return {Status::Silent, {}};
}

}  // namespace banc
