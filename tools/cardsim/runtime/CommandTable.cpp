#include "CommandTable.h"

#include "HexFields.h"
#include "SimulatedCard.h"

namespace cardsim {

void CommandTable::Add(std::string mnemonic, Handler handler)
{
    m_commands.push_back({std::move(mnemonic), std::move(handler)});
}

std::optional<std::string> CommandTable::Execute(std::string_view text) const
{
    const Command* best = nullptr;
    for (const auto& command : m_commands)
        if (text.starts_with(command.mnemonic) && (!best || command.mnemonic.size() > best->mnemonic.size()))
            best = &command;
    if (!best) return std::nullopt;
    return best->handler(text.substr(best->mnemonic.size()));
}

CommandTable::Handler Order(std::function<void()> action)
{
    return [action = std::move(action)](std::string_view arguments) -> std::string {
        if (!arguments.empty()) return kError;
        action();
        return kOk;
    };
}

CommandTable::Handler Acknowledged(std::vector<int> widths)
{
    return [widths = std::move(widths)](std::string_view arguments) -> std::string {
        HexFields fields(arguments);
        std::uint32_t value = 0;
        for (const int width : widths)
            if (!fields.Unsigned(width, value)) return kError;
        return fields.Done() ? kOk : kError;
    };
}

}  // namespace cardsim
