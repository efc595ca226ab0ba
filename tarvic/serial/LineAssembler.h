#pragma once

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
        for (const char byte : bytes) {
            switch (byte) {
            case '\r':
                m_cr = true;
                break;
            case '\n':
                if (m_discarding)
                    m_discarding = false;
                else
                    sink(std::string_view(m_line), m_cr ? End::CrLf : End::BareLf);
                m_line.clear();
                m_cr = false;
                break;
            case '!':
            case '?':
                m_line.assign(1, byte);
                m_cr = false;
                m_discarding = false;
                break;
            case '+':
            case '-':
                m_cr = false;
                break;
            default:
                m_cr = false;
                if (m_discarding) break;
                if (m_line.size() == kMaxLine) {
                    sink(std::string_view(m_line), End::Overflow);
                    m_line.clear();
                    m_discarding = true;
                    break;
                }
                m_line.push_back(byte);
            }
        }
    }

    std::size_t Pending() const { return m_line.size(); }

private:
    std::string m_line;
    bool m_cr = false;
    bool m_discarding = false;
};

}  // namespace tarvic
