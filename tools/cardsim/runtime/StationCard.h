#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SimulatedCard.h"
#include "Station.h"

namespace cardsim {

// The card of an automation station: a table of commands, each with the text
// it starts with, whether it is a query ('?') or an order ('!'), and what it
// answers. The station's inputs follow its outputs after a delay (output bit n
// drives input bit n), so that a panel connected to it shows life.
class StationCard : public SimulatedCard {
public:
    static constexpr SimDuration kFollowDelay = std::chrono::milliseconds(300);
    static constexpr const char* kIdentification = " CARDSIM 1.0";

    explicit StationCard(const Station& station);

    std::string Execute(std::string_view line) override;
    void Advance(SimDuration elapsed) override;

    const std::vector<int>& Inputs() const { return m_inputs; }
    const std::vector<int>& Outputs() const { return m_outputs; }

private:
    struct Command {
        char prefix;           // '?' query, '!' order
        std::string mnemonic;  // what the text after the prefix starts with
        std::function<std::string(std::string_view arguments)> answer;
    };
    void AddPanelCommands();
    std::string ReadInputs() const;
    std::string SetOutputs(std::string_view arguments);

    const Station& m_station;
    std::vector<Command> m_commands;
    std::vector<int> m_inputs;
    std::vector<int> m_outputs;
    std::vector<int> m_target;  // inputs once the pending change is applied
    SimDuration m_now{0};
    std::optional<SimDuration> m_changeAt;
};

}  // namespace cardsim
