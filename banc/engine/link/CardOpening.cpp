#include "engine/link/CardOpening.h"

#include <cerrno>

#include <tarvic/platform/SerialPort.h>
#include <tarvic/platform/Text.h>

#include "engine/link/PortDiagnosis.h"

namespace banc {

OpenedCard OpenCard(const CardPlace& place, EmbeddedCard& simulated)
{
    OpenedCard opened;
    std::string port = place.port;
    if (place.simulated) {
        opened.error = simulated.Start(place.card.program, EmbeddedCard::Arguments(place.card.bench, place.card.speed,
                                                                                   place.card.noise, place.card.seed));
        if (!opened.error.empty()) {
            opened.errorCode = ENOENT;
            return opened;
        }
        port = simulated.Path();
    } else if (port.empty()) {
        opened.error = "Aucun port choisi : choisissez le port de la carte.";
        return opened;
    }
    opened.link = std::make_unique<CardLink>(port, place.timing);
    if (opened.link->Open()) return opened;

    opened.errorCode = opened.link->OpenError();

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
