#pragma once

#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/outputs/PlotImage.h"
#include "engine/outputs/ResultsJson.h"

namespace banc::cli {

// "" when the outputs asked for may be written as asked, else why not (Latin-1):
// never two on one file, nor on a file the console reads (the archive opened,
// the profile, given or the bench's: "" when none), nor a CSV or a picture
// over an experiment archive.
std::string RefusedOutputs(const Request& request, const std::string& profilePath);

// "" when every output file asked for can be made, else why not (Latin-1).
std::string CheckOutputs(const Request& request);

// Both checks before anything is done: kExitDone, or the exit status of the
// refusal (a usage error, or a file that cannot be made) once it is said.
int OutputsStatus(const Request& request, const std::string& profilePath);

// What the lab work adds to a run's outputs.
struct LabOutputs {
    std::vector<PlotOverlay> overlays;  // over the curves of the picture
    std::string text;                   // after the summary (Latin-1)
    RunReport report;                   // its parts for --json; the run's own are filled in
    std::string keptJson;               // the results as the history kept them, written as they are; "": made
};

// Writes the files asked for, tells which on standard error, and prints the
// summary; false when a file could not be written. `csvResult` is what became
// of a CSV written during the run ("" or why it is not whole), without which
// the CSV is written here.
bool WriteOutputs(const Request& request, const Settings& settings, Elements& elements,
                  const std::optional<std::string>& csvResult, const LabOutputs& lab = {});

// Fonts and painting on an image need a Qt application: made once, offscreen without a display.
void RequireGuiApplication();

// The files an output writes: each failure said at once, the files written
// told together at the end.
class WrittenFiles {
public:
    // `error`: "" when `path` was written, else why not (Latin-1).
    void Add(const std::string& path, const std::string& error);
    void TellWritten() const;
    bool Ok() const { return m_ok; }

private:
    std::string m_written;
    bool m_ok = true;
};

// Messages on standard error, "tarvic-banc : ..." for a failure.
void Tell(const std::string& latin1);
void Complain(const std::string& latin1);

}  // namespace banc::cli
