#include "net/BrokerRefusal.h"

namespace net {

std::string RefusalText(Refusal refusal, const MqttSettings& settings)
{
    const std::string broker = settings.host + ":" + std::to_string(settings.port);
    switch (refusal) {
    case Refusal::Account:
        if (settings.user.empty())
            return "Authentification refus\xE9" "e par le courtier MQTT " + broker +
                   " : il demande un utilisateur et un mot de passe (--mqtt-utilisateur, --mqtt-mdp).";
        return "Authentification refus\xE9" "e par le courtier MQTT " + broker + " : utilisateur \xAB " +
               settings.user + " \xBB ou mot de passe refus\xE9.";
    case Refusal::Tls:
        return "\xC9" "chec TLS avec le courtier MQTT " + broker + " : il n'est pas reconnu par l'autorit\xE9 " +
               settings.caFile + ", ou ne parle pas TLS sur ce port.";
    case Refusal::Unreachable: break;
    }
    return "Courtier MQTT injoignable : " + broker + ".";
}

}  // namespace net
