#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cardsim {

// The commands a card knows, by mnemonic. A line is handled by the longest
// mnemonic it begins with; the handler gets the text after the mnemonic and
// returns the whole reply line.
class CommandTable {
public:
    using Handler = std::function<std::string(std::string_view arguments)>;

    void Add(std::string mnemonic, Handler handler);
    // The reply, or nothing when no mnemonic matches.
    std::optional<std::string> Execute(std::string_view text) const;

private:
    struct Command {
        std::string mnemonic;
        Handler handler;
    };
    std::vector<Command> m_commands;
};

// A handler for an order without arguments: runs `action`, answers OK.
CommandTable::Handler Order(std::function<void()> action);
// A handler for a setting the simulated bench has no use for: its hexadecimal
// fields of these widths are checked, then it is acknowledged.
CommandTable::Handler Acknowledged(std::vector<int> widths);

}  // namespace cardsim
