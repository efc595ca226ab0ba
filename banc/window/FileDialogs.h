#pragma once

#include <QDateTime>

#include <string>

#include "engine/model/Settings.h"
#include "window/Prompts.h"

class QWidget;

namespace banc::window {

class WindowProfile;

// Where a file dialog opens: the folder last used while it is there, else
// the user's documents folder while it is there, else their home.
std::string StartFolder(const std::string& remembered, const std::string& documents, const std::string& home);

// The name offered for a file of the experiment: its bench, its mode and the
// date, "niveaueau-pid-2026-12-08-10h04.tbc".
std::string SuggestedName(const Settings& settings, Prompts::File file, const QDateTime& when);

// The window's file dialogs: in the folder last used (kept in the window's
// profile) or the user's documents, with a name made for the experiment.
class FileChoice {
public:
    FileChoice(Prompts& prompts, WindowProfile& profile);

    // The file chosen, its folder remembered; "" when the user gave up.
    std::string Open(QWidget* parent);
    // For a CSV, `chosen` takes the kind picked among the dialog's file types.
    std::string Save(QWidget* parent, Prompts::File file, const Settings& shown, Prompts::File* chosen = nullptr);

private:
    std::string Folder() const;
    std::string Remember(const std::string& path);

    Prompts& m_prompts;
    WindowProfile& m_profile;
};

}  // namespace banc::window
