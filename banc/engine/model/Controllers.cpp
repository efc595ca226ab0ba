#include "engine/model/Controllers.h"

#include <tarvic/control/BoFonction.h>
#include <tarvic/control/CorZ.h>
#include <tarvic/control/Pid.h>
#include <tarvic/control/Tor.h>

namespace banc {
namespace {

template <class T>
std::unique_ptr<CEidElement> Make()
{
    return std::make_unique<T>();
}

// The closed-loop controllers send "RD" or "RS" from ConfFerz(101) after their public ModeRD.
template <class T>
std::string StartStop(CEidElement& controller, bool run)
{
    static_cast<T&>(controller).ModeRD = run;
    return controller.ConfFerz(101);
}

// The open-loop block has no start command of its own; the card's "RD" and
// "RS" start and stop its loop whatever the controller kind.
std::string OpenLoopStartStop(CEidElement&, bool run) { return run ? "RD" : "RS"; }

}  // namespace

const ControllerKind kOpenLoop{"bo", "boucle ouverte", Make<CBoFonction>, OpenLoopStartStop, 0, -1, 0, false, false};
const ControllerKind kPid{"pid", "r\xE9gulation PID", Make<CPid>, StartStop<CPid>, 1, 3, 6, true, true};
const ControllerKind kOnOff{"tor", "r\xE9gulation tout ou rien", Make<CTor>, StartStop<CTor>, 0, 0, 3, true, false};
const ControllerKind kZCorrector{"corz", "correcteur Z", Make<CCorZ>, StartStop<CCorZ>, 0, 0, 3, true, false};

}  // namespace banc
