#pragma once

#include <QString>

namespace banc::window {

class Workbench;

// What became of a run the window had to close on without asking (a logout,
// a shutdown): kept in an archive of the user's data folder, or why not.
struct KeptRun {
    QString path;   // "" when nothing was to be kept, or on failure
    QString error;  // why it could not be written
};

// The run of `workbench` in no archive yet goes, with the window's own
// archive writer, to ${XDG_DATA_HOME:-~/.local/share}/tarvic under its
// bench's, mode's and date's name; the window's profile keeps the name for
// the next start.
KeptRun KeepUnsavedRun(Workbench& workbench);

// For the terminal, if any: where the run went, or why it could not be kept; "" when there was none.
QString KeptRunReport(const KeptRun& kept);

// The notice of the run kept at the last end, once: "" when there is none.
QString TakeKeptRunNotice(Workbench& workbench);

}  // namespace banc::window
