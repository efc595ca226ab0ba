#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>


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
            const char* const special = FindSpecial(next, end);
            if (special != next) {
                AppendRun(std::string_view(next, static_cast<std::size_t>(special - next)), sink);
                if (special == end) return;
            }
            TakeSpecial(*special, sink);
            next = special + 1;
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
        while (from != end && !kSpecial[static_cast<unsigned char>(*from)]) ++from;
        return from;
    }

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
        case '\r':
            m_cr = true;
            return;
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
