// tarvic-banc: a control experiment on a bench, from the command line.
#include <unistd.h>

#include <tarvic/platform/MessageBox.h>

#include <climits>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/HelpText.h"
#include "cli/Outputs.h"
#include "cli/Resolve.h"
#include "cli/Run.h"

namespace {

// The folder of the running program, where an installed simulated card sits too.
std::string ProgramDir()
{
    char path[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string program(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? "." : program.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace banc::cli;
    // The library's few message boxes are lines of the console's own.
    tarvic::SetMessageBoxHandler(
        [](const std::string& text, const std::string& caption, tarvic::MessageIcon) { Complain(caption + " : " + text); });
    Request request;
    if (std::string error = ParseCommandLine(argc, argv, request); !error.empty()) {
        Complain(error);
        return kExitUsage;
    }
    switch (request.action) {
    case Request::Action::Help: Write(stdout, HelpText()); return kExitDone;
    case Request::Action::Version: Write(stdout, VersionText()); return kExitDone;
    case Request::Action::Open: return OpenArchive(request);
    case Request::Action::Run: break;
    }
    banc::Settings settings;
    if (std::string error = Resolve(request, settings); !error.empty()) {
        Complain(error);
        return kExitUsage;
    }
    return RunExperiment(request, settings, ProgramDir());
}
