#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarvic {

// Cuts the bytes received from the card into lines. A line runs from the last
// '!' or '?' (or from the end of the previous line) to the next LF and is
// complete only when the byte just before the LF is a CR; CR, LF, '+' and '-'
// are never stored. A line that grows past kMaxLine without its LF is dropped
// (a card talking garbage must not eat the memory) and the bytes up to the next
// '!', '?' or LF go with it.
//
// The bytes between two special ones are appended as one run, into storage
// that the next lines reuse: a block reply is a few runs, not 2,000 appends.
class LineAssembler {
public:
    static constexpr std::size_t kMaxLine = 64 * 1024;

    enum class End {
        CrLf,      // a complete line
        BareLf,    // LF without the CR just before it
        Overflow,  // longer than kMaxLine
    };

    // Calls sink(std::string_view line, End end) at every LF and at an overflow.
    template <class Sink>
    void Feed(std::string_view bytes, Sink&& sink)
    {
        const char* next = bytes.data();
        const char* const end = next + bytes.size();
        while (next != end) {
            const bool start = *next == '!' || *next == '?';
            const char* const run = start ? next + 1 : next;
            const char* const special = FindSpecial(run, end);
            // The whole line is in these bytes, plain up to its CR LF: it is
            // handed over from them, not copied first. Most replies are such.
            if ((start || (m_line.empty() && !m_discarding)) && EndsLine(special, end) &&
                static_cast<std::size_t>(special - next) <= kMaxLine) {
                sink(std::string_view(next, static_cast<std::size_t>(special - next)), End::CrLf);
                m_line.clear();
                m_cr = false;
                m_discarding = false;
                next = special + 2;
                continue;
            }
            if (start) TakeSpecial(*next, sink);
            if (special != run) AppendRun(std::string_view(run, static_cast<std::size_t>(special - run)), sink);
            if (special == end) return;
            next = special;
            if (*special == '!' || *special == '?') continue;  // it starts the next pass
            TakeSpecial(*special, sink);
            ++next;
        }
    }

    std::size_t Pending() const { return m_line.size(); }

private:
    static constexpr std::array<bool, 256> kSpecial = [] {
        std::array<bool, 256> special{};
        for (const unsigned char byte : {'\r', '\n', '!', '?', '+', '-'}) special[byte] = true;
        return special;
    }();

    static const char* FindSpecial(const char* from, const char* end)
    {
#if defined(__SSE2__)
        // Sixteen bytes a step: the runs between special bytes are most of a reply.
        const auto is = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
        for (; end - from >= 16; from += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
            const __m128i ends = _mm_or_si128(is(bytes, '\r'), is(bytes, '\n'));
            const __m128i starts = _mm_or_si128(is(bytes, '!'), is(bytes, '?'));
            const __m128i signs = _mm_or_si128(is(bytes, '+'), is(bytes, '-'));
            if (const int found = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(ends, starts), signs)))
                return from + __builtin_ctz(static_cast<unsigned>(found));
        }
#endif
        while (from != end && !kSpecial[static_cast<unsigned char>(*from)]) ++from;
        return from;
    }

    static bool EndsLine(const char* at, const char* end) { return end - at >= 2 && at[0] == '\r' && at[1] == '\n'; }

    template <class Sink>
    void AppendRun(std::string_view run, Sink& sink)
    {
        m_cr = false;
        if (m_discarding) return;
        const std::size_t room = kMaxLine - m_line.size();
        if (run.size() <= room) {
            m_line.append(run);
            return;
        }
        // The byte after the room is the one too many: the rest of the line goes.
        m_line.append(run.substr(0, room));
        sink(std::string_view(m_line), End::Overflow);
        m_line.clear();
        m_discarding = true;
    }

    template <class Sink>
    void TakeSpecial(char byte, Sink& sink)
    {
        switch (byte) {
        case '\r': m_cr = true; return;
        case '\n':
            if (m_discarding)
                m_discarding = false;
            else
                sink(std::string_view(m_line), m_cr ? End::CrLf : End::BareLf);
            m_line.clear();
            break;
        case '!':
        case '?':
            m_line.assign(1, byte);
            m_discarding = false;
            break;
        default:  // '+' and '-'
            break;
        }
        m_cr = false;
    }

    std::string m_line;
    bool m_cr = false;
    bool m_discarding = false;
};

}  // namespace tarvic
