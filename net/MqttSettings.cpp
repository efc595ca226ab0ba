#include "net/MqttSettings.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace net {
namespace {

constexpr std::size_t kLongestPassword = 4096;

bool ParsePort(const std::string& text, int& port)
{
    if (text.empty() || text.size() > 5) return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return false;
    port = value;
    return true;
}

}  // namespace

std::string ParseBroker(const std::string& text, MqttSettings& settings)
{
    std::string host = text;
    std::string port;
    // "[::1]:1883": an IPv6 address keeps its colons inside the brackets.
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string::npos)
            return "Adresse du courtier invalide \xAB " + text + " \xBB : \xAB ] \xBB manque.";
        host = text.substr(1, close - 1);
        if (close + 1 < text.size()) {
            if (text[close + 1] != ':') return "Adresse du courtier invalide \xAB " + text + " \xBB.";
            port = text.substr(close + 2);
            if (port.empty()) return "Adresse du courtier invalide \xAB " + text + " \xBB : le port manque.";
        }
    } else if (const auto colon = text.rfind(':'); colon != std::string::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (port.empty()) return "Adresse du courtier invalide \xAB " + text + " \xBB : le port manque.";
    }
    if (host.empty()) return "Adresse du courtier invalide \xAB " + text + " \xBB : le nom d'h\xF4te est vide.";
    int number = settings.port;
    if (!port.empty() && !ParsePort(port, number))
        return "Adresse du courtier invalide \xAB " + text + " \xBB : le port va de 1 \xE0 65535.";
    settings.host = host;
    settings.port = number;
    return {};
}

std::string ReadPasswordFile(const std::string& path, std::string& password)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return "Fichier de mot de passe illisible : " + path + " (" + std::strerror(errno) + ").";
    std::string line;
    char c = 0;
    while (line.size() <= kLongestPassword && file.get(c) && c != '\n') line += c;
    if (line.size() > kLongestPassword) return "Fichier de mot de passe trop long : " + path + ".";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return "Fichier de mot de passe vide : " + path + ".";
    password = line;
    return {};
}

}  // namespace net
