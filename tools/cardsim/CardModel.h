#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Station.h"

namespace cardsim {

using Clock = std::chrono::steady_clock;

// The card's behaviour: a table of commands, each with the text it starts
// with, whether it is a query ('?') or an order ('!'), and what it answers.
// The station's inputs follow its outputs after a delay (output bit n drives
// input bit n), so that a panel connected to it shows life.
class CardModel {
public:
    static constexpr std::chrono::milliseconds kFollowDelay{300};
    static constexpr const char* kIdentification = " CARDSIM 1.0";

    explicit CardModel(const Station& station);

    // The reply line, without CR LF, to one received line ("?VER", "!ESR 0102").
    std::string Execute(const std::string& line, Clock::time_point now);
    // Applies the output changes whose delay is over; the time of the next one, if any.
    std::optional<Clock::time_point> Advance(Clock::time_point now);

    const std::vector<int>& Inputs() const { return m_inputs; }
    const std::vector<int>& Outputs() const { return m_outputs; }

private:
    struct Command {
        char prefix;           // '?' query, '!' order
        std::string mnemonic;  // what the text after the prefix starts with
        std::function<std::string(const std::string& arguments, Clock::time_point now)> answer;
    };
    void AddPanelCommands();
    std::string ReadInputs() const;
    std::string SetOutputs(const std::string& arguments, Clock::time_point now);

    const Station& m_station;
    std::vector<Command> m_commands;
    std::vector<int> m_inputs;
    std::vector<int> m_outputs;
    std::vector<int> m_target;  // inputs once the pending change is applied
    std::optional<Clock::time_point> m_changeAt;
};

}  // namespace cardsim
