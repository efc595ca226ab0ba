#include "engine/link/CardOpening.h"

#include <tarvic/platform/SerialPort.h>
#include <tarvic/platform/Text.h>

#include <vector>

#include "engine/PortDiagnosis.h"

namespace banc {
namespace {

std::vector<std::string> Arguments(const SimulatedCard& card)
{
    std::vector<std::string> arguments = {"--bench", card.bench, "--speed", tarvic::Format("%g", card.speed)};
    if (card.noise) arguments.insert(arguments.end(), {"--noise", tarvic::Format("%g", *card.noise)});
    if (card.seed) arguments.insert(arguments.end(), {"--seed", tarvic::Format("%u", *card.seed)});
    return arguments;
}

}  // namespace

OpenedCard OpenCard(const CardPlace& place, EmbeddedCard& simulated)
{
    OpenedCard opened;
    std::string port = place.port;
    if (place.simulated) {
        opened.error = simulated.Start(place.card.program, Arguments(place.card));
        if (!opened.error.empty()) return opened;
        port = simulated.Path();
    } else if (port.empty()) {
        opened.error = "Aucun port choisi : choisissez le port de la carte.";
        return opened;
    }
    opened.link = std::make_unique<CardLink>(port, place.timing);
    if (opened.link->Open()) return opened;

    if (place.simulated) {
        opened.error = tarvic::Format("La carte simul\xE9" "e ne s'ouvre pas sur %s.", port.c_str());
    } else {
        opened.error = PortFailure(port, opened.link->OpenError());
        opened.mayComeBack = !tarvic::SerialPort::DevicePath(port).empty();
    }
    opened.link.reset();
    simulated.Stop();  // nothing is left running for a card that cannot be reached
    return opened;
}

}  // namespace banc
