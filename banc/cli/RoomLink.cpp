#include "cli/RoomLink.h"

#include "cli/Console.h"
#include "cli/Outputs.h"
#include "net/MqttOptions.h"

namespace banc::cli {
namespace {

// On a terminal the progress line is wiped first; it is drawn again at the next turn.
void Say(const std::string& latin1) { Write(stderr, (IsTerminal(stderr) ? "\r\x1B[K" : "") + latin1 + "\n"); }

}  // namespace

net::MqttSettings RoomSettings(const Request& request, tarvic::Profile& profile)
{
    net::MqttSettings settings;
    const std::string error = net::ResolveMqttSettings(
        request.mqtt, [&profile](const std::string& entry) { return profile.GetProfileString("MQTT", entry, ""); },
        settings);
    if (error.empty()) return settings;
    Complain(error + " L'essai n'est pas publi\xE9 vers la salle.");
    return {};
}

publish::RoomReport::Orders RoomOrders(std::function<void()> stop)
{
    publish::RoomReport::Orders orders;
    if (stop)
        orders.stop = [stop] {
            Say("Arr\xEAt demand\xE9 par la salle.");
            stop();
        };
    orders.message = [](const std::string& text) { Say("Message de la salle : " + PrintableLine(text)); };
    orders.refused = [](const std::string& why) {
        Say("tarvic-banc : ordre de la salle refus\xE9 : " + PrintableLine(why) + ".");
    };
    return orders;
}

std::string PrintableLine(std::string text)
{
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && byte < 0xA0)) c = ' ';
    }
    return text;
}

}  // namespace banc::cli
