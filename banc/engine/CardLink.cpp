#include "engine/CardLink.h"

#include <tarvic/serial/ComThread.h>

#include <cctype>

namespace banc {
namespace {

// How long the serial thread may take to open and configure the port.
constexpr std::uint32_t kOpenTimeoutMs = 5000;
// A hang-up shows only as the port being closed by the serial thread: looked at this often while waiting.
constexpr std::chrono::milliseconds kLossCheck{10};
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
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
    }
    m_arrived.notify_all();
}

void CardLink::Abort()
{
    {
        std::lock_guard lock(m_mutex);
        m_aborted = true;
    }
    m_arrived.notify_all();
}

void CardLink::Resume()
{
    std::lock_guard lock(m_mutex);
    m_aborted = false;
}

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

CardLink::Wait CardLink::WaitLine(ReplyClock& clock, std::string& line)
{
    std::unique_lock lock(m_mutex);
    while (true) {
        if (m_aborted) return Wait::Aborted;
        if (!m_lines.empty()) {
            line = std::move(m_lines.front());
            m_lines.pop_front();
            return Wait::Line;
        }
        if (!IsOpen()) return Wait::Lost;
        ExtendWhileArriving(clock);
        const auto now = std::chrono::steady_clock::now();
        if (now >= clock.deadline) return Wait::TimedOut;
        m_arrived.wait_for(lock, std::min<std::chrono::steady_clock::duration>(clock.deadline - now, kLossCheck));
    }
}

CardLink::Reply CardLink::Exchange(char prefix, const std::string& text)
{
    return Exchange(prefix, text, m_timing);
}

CardLink::Reply CardLink::Exchange(char prefix, const std::string& text, const LinkTiming& timing)
{
    const std::string out = prefix + text + "\r\n";
    for (int attempt = 0; attempt < timing.attempts; ++attempt) {
        {
            // What is left over belongs to no request of ours any more.
            std::lock_guard lock(m_mutex);
            m_lines.clear();
        }
        if (m_aborted) return {Status::Aborted, {}};
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
