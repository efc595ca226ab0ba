#include "tarvic/platform/StringTable.h"

#include <map>
#include <mutex>

namespace tarvic {
namespace {

struct Table {
    std::mutex mutex;
    std::map<int, std::string> texts;
};

// Built on first use, so that registrations from other files' static
// initialisers find it whatever the order of initialisation.
Table& Strings()
{
    static Table table;
    return table;
}

}  // namespace

std::string LoadString(int id)
{
    Table& table = Strings();
    std::lock_guard lock(table.mutex);
    const auto found = table.texts.find(id);
    return found == table.texts.end() ? std::string() : found->second;
}

void SetString(int id, std::string text)
{
    Table& table = Strings();
    std::lock_guard lock(table.mutex);
    table.texts[id] = std::move(text);
}

}  // namespace tarvic
