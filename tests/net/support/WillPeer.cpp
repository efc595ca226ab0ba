// A program that holds one connection with a last will until its standard
// input closes, for the tests that kill it: a bench's console that dies.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "net/MqttClient.h"

int main(int argc, char** argv)
{
    if (argc != 4) return 2;  // port, will topic, will payload
    net::MqttSettings settings;
    settings.host = "127.0.0.1";
    settings.port = std::atoi(argv[1]);
    net::MqttClient client(settings, "pair-testament", {argv[2], argv[3], true});
    client.OnConnected([] { [[maybe_unused]] auto written = ::write(STDOUT_FILENO, "connecte\n", 9); });
    char byte = 0;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {}
    return 0;
}
