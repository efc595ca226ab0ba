#include "net/Topics.h"

#include <array>
#include <vector>

#include "net/Latin1.h"

namespace net {
namespace {

constexpr char kRoot[] = "tarvic";
constexpr std::size_t kLongestName = 64;

struct ChannelName {
    Channel channel;
    const char* name;
};
constexpr std::array<ChannelName, 5> kChannels = {{
    {Channel::State, "etat"},
    {Channel::Measures, "mesures"},
    {Channel::Run, "essai"},
    {Channel::Station, "station"},
    {Channel::Order, "ordre"},
}};

std::vector<std::string> Levels(const std::string& topic)
{
    std::vector<std::string> levels(1);
    for (const char c : topic) {
        if (c == '/')
            levels.emplace_back();
        else
            levels.back() += c;
    }
    return levels;
}

}  // namespace

std::string CheckName(const std::string& name)
{
    if (name.empty()) return "le nom est vide.";
    if (name.size() > kLongestName) return "le nom d\xE9passe 64 caract\xE8res.";
    for (const unsigned char c : name) {
        if (c == '/' || c == '+' || c == '#' || c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
            return "le nom ne peut contenir ni \xAB / \xBB, ni \xAB + \xBB, ni \xAB # \xBB, "
                   "ni caract\xE8re de contr\xF4le.";
    }
    return {};
}

std::string Topic(const Poste& poste, Channel channel)
{
    std::string name;
    for (const auto& known : kChannels)
        if (known.channel == channel) name = known.name;
    return std::string(kRoot) + "/" + ToUtf8(poste.salle) + "/" + ToUtf8(poste.poste) + "/" + name;
}

std::string RoomFilter(const std::string& salle)
{
    return std::string(kRoot) + "/" + (salle.empty() ? std::string("+") : ToUtf8(salle)) + "/#";
}

std::optional<ParsedTopic> ParseTopic(const std::string& topic)
{
    const std::vector<std::string> levels = Levels(topic);
    if (levels.size() != 4 || levels[0] != kRoot) return std::nullopt;
    const auto salle = FromUtf8(levels[1]);
    const auto poste = FromUtf8(levels[2]);
    if (!salle || !poste || !CheckName(*salle).empty() || !CheckName(*poste).empty()) return std::nullopt;
    for (const auto& known : kChannels)
        if (levels[3] == known.name) return ParsedTopic{Poste{*salle, *poste}, known.channel};
    return std::nullopt;
}

}  // namespace net
