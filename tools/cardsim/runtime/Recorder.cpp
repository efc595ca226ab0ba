#include "Recorder.h"

#include "CommandTable.h"
#include "HexFields.h"
#include "tarvic/platform/Text.h"

namespace cardsim {

std::string BlockDigits(const std::vector<RecordRows>& points)
{
    std::string digits;
    digits.reserve(points.size() * 16 * 4 + 2);
    unsigned sum = 0;
    for (const auto& rows : points)
        for (const std::int16_t value : rows) {
            const auto word = static_cast<std::uint16_t>(value);
            digits += tarvic::Format("%4.4X", static_cast<unsigned>(word));
            sum += (word >> 8) + (word & 0xFF);
        }
    return digits + tarvic::Format("%2.2X", sum & 0xFF);
}

void Recorder::AddCommands(CommandTable& table)
{
    table.Add("EM", [this](std::string_view a) { return Configure(a); });
    table.Add("EVE", [this](std::string_view a) { return Arm(a); });
    table.Add("TEM", [this](std::string_view a) { return Status(a); });
    table.Add("TSF", [this](std::string_view a) { return Send(a); });
}

void Recorder::Clear()
{
    m_recording = false;
    m_filling.clear();
    m_blocks.clear();
    m_headSent = false;
}

std::string Recorder::Configure(std::string_view arguments)
{
    // Both modes record the same way: the block count is the PC's.
    if (arguments.size() != 1) return kError;
    Clear();
    m_armed = false;
    return kOk;
}

std::string Recorder::Arm(std::string_view arguments)
{
    if (!arguments.empty()) {
        HexFields fields(arguments);
        std::uint32_t ms = 0;
        if (!fields.Unsigned(4, ms) || !fields.Done() || ms == 0) return kError;
        m_waitingTime = std::chrono::milliseconds(ms);
    }
    Clear();
    m_armed = true;
    if (m_loopRunning) Begin();
    return kOk;
}

void Recorder::Begin()
{
    Clear();
    m_armed = false;
    m_recording = true;
    m_firstPoint = true;
}

void Recorder::LoopStarted()
{
    m_loopRunning = true;
    if (m_armed) Begin();
}

void Recorder::LoopStopped()
{
    m_loopRunning = false;
    m_recording = false;
    m_filling.clear();
}

void Recorder::Sample(const RecordRows& rows)
{
    if (!m_recording || (!m_firstPoint && m_clock < m_nextPoint)) return;
    // Points every waiting time from the first one, at the first sample due.
    m_nextPoint = (m_firstPoint ? m_clock : m_nextPoint) + m_waitingTime;
    m_firstPoint = false;
    m_filling.push_back(rows);
    if (m_filling.size() < kPoints) return;
    if (m_blocks.size() < kCapacity) m_blocks.push_back(std::move(m_filling));
    m_filling.clear();
}

std::string Recorder::Status(std::string_view arguments)
{
    HexFields fields(arguments);
    std::uint32_t number = 0;
    if (!fields.Unsigned(2, number) || !fields.Done()) return kError;
    if (m_headSent) {
        m_blocks.pop_front();
        m_headSent = false;
    }
    return tarvic::Format("!TEM%2.2X%c", number, m_blocks.empty() ? 'N' : 'O');
}

std::string Recorder::Send(std::string_view arguments)
{
    HexFields fields(arguments);
    std::uint32_t number = 0;
    if (!fields.Unsigned(2, number) || !fields.Done() || m_blocks.empty()) return kError;
    m_headSent = true;
    return tarvic::Format("!TSF%2.2X", number) + BlockDigits(m_blocks.front());
}

}  // namespace cardsim
