#pragma once

#include <deque>
#include <string>
#include <vector>

#include "Bench.h"

namespace cardsim {

class CommandTable;

// The card's recording. "EVE" arms it; it then runs from the loop's next start
// (at once if the loop runs) to the loop's stop, one point of 16 rows every
// waiting time, 32 points to a block. Finished blocks
// wait in a queue until the PC fetches them; the block numbers of its requests
// are echoed, not interpreted, so any block count and both modes work. A block
// sent by "TSF" is retired by the next "TEM" (the PC asks the status only after
// it accepted a block) and sent again by another "TSF".
class Recorder {
public:
    static constexpr int kPoints = 32;
    static constexpr std::size_t kCapacity = 256;  // blocks waiting; later ones are dropped

    explicit Recorder(const SimDuration& clock) : m_clock(clock) {}

    void AddCommands(CommandTable& table);
    // The loop starts: an armed recording begins with this sample.
    void LoopStarted();
    void LoopStopped();
    // A sample of the running loop.
    void Sample(const RecordRows& rows);

    std::size_t WaitingBlocks() const { return m_blocks.size(); }

private:
    using Block = std::vector<RecordRows>;

    std::string Configure(std::string_view arguments);
    std::string Arm(std::string_view arguments);
    std::string Status(std::string_view arguments);
    std::string Send(std::string_view arguments);
    void Clear();
    void Begin();

    const SimDuration& m_clock;
    bool m_loopRunning = false;
    SimDuration m_waitingTime{std::chrono::milliseconds(100)};
    bool m_armed = false;
    bool m_recording = false;
    bool m_firstPoint = false;
    SimDuration m_nextPoint{0};
    Block m_filling;
    std::deque<Block> m_blocks;
    bool m_headSent = false;
};

// The 2048 digits of a block, point-major (the 16 rows of point 0 first), and
// its check: the 8-bit sum of its 1024 bytes, two digits.
std::string BlockDigits(const std::vector<RecordRows>& points);

}  // namespace cardsim
