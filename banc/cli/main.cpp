// tarvic-banc: a control experiment on a bench, from the command line.
#include <tarvic/platform/MessageBox.h>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/HelpText.h"
#include "cli/HistoryOrders.h"
#include "cli/Outputs.h"
#include "cli/Resolve.h"
#include "cli/Run.h"
#include "cli/SweepRun.h"
#include "engine/link/EmbeddedCard.h"

int main(int argc, char** argv)
{
    using namespace banc::cli;
    // The library's few message boxes are lines of the console's own.
    tarvic::SetMessageBoxHandler([](const std::string& text, const std::string& caption, tarvic::MessageIcon) {
        Complain(caption + " : " + text);
    });
    Request request;
    if (std::string error = ParseCommandLine(argc, argv, request); !error.empty()) {
        Complain(error);
        return kExitUsage;
    }
    if (request.action == Request::Action::Open && !request.history.empty()) {
        Complain("--ouvrir ne se combine pas avec --historique : un essai relu n'est pas gard\xE9 une seconde fois.");
        return kExitUsage;
    }
    switch (request.action) {
    case Request::Action::Help: Write(stdout, HelpText()); return kExitDone;
    case Request::Action::Version: Write(stdout, VersionText()); return kExitDone;
    case Request::Action::Open: return OpenArchive(request);
    case Request::Action::Run: break;
    default: return HistoryOrder(request);
    }
    if (!request.since.empty()) {
        Complain("--depuis ne vaut qu'avec --liste.");
        return kExitUsage;
    }
    banc::Settings settings;
    if (std::string error = Resolve(request, settings); !error.empty()) {
        Complain(error);
        return kExitUsage;
    }
    // An installed simulated card sits next to the program.
    if (request.bode) return RunSweep(request, settings, banc::EmbeddedCard::ProgramFolder());
    return RunExperiment(request, settings, banc::EmbeddedCard::ProgramFolder());
}
