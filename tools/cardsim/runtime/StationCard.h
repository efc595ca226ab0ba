#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "SimulatedCard.h"
#include "plants/Station.h"
#include "plants/StationMachine.h"

namespace cardsim {

// The card of an automation station: the panels' commands over its machine.
// A table gives each command the text it starts with, whether it is a query
// ('?') or an order ('!'), and what it answers.
class StationCard : public SimulatedCard {
public:
    static constexpr const char* kIdentification = " CARDSIM 1.0";

    explicit StationCard(const Station& station);

    std::string Execute(std::string_view line) override;
    void Advance(SimDuration elapsed) override;

    // An operator's order now ("appui dcy", "aru", ...): an error text, or "".
    std::string Control(std::string_view order) { return m_machine.Control(order); }
    std::string Check(std::string_view order) const { return m_machine.Check(order); }
    // An operator's order at a time of the card's, from its start.
    void Schedule(SimDuration at, std::string order);

    std::vector<int> Inputs() const { return m_machine.Inputs(); }
    const std::vector<int>& Outputs() const { return m_machine.Outputs(); }

private:
    struct Command {
        char prefix;           // '?' query, '!' order
        std::string mnemonic;  // what the text after the prefix starts with
        std::function<std::string(std::string_view arguments)> answer;
    };
    void AddPanelCommands();
    std::string ReadInputs() const;
    std::string SetOutputs(std::string_view arguments);
    void RunTo(SimDuration time);

    const Station& m_station;
    StationMachine m_machine;
    std::vector<Command> m_commands;
    SimDuration m_now{0};
    std::deque<std::pair<SimDuration, std::string>> m_scenario;  // in time order
};

}  // namespace cardsim
