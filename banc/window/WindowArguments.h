#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace banc::window {

// What the command line asks of tarvic-banc-fenetre: --help and --version of
// its own, the run history's --historique and --etudiant as tarvic-banc's,
// beside Qt's options (-platform, -style...) that QApplication takes.
struct ArgumentsAnswer {
    std::optional<int> exitStatus;  // none: the window opens
    QString output;                 // for standard output
    QString errors;                 // for standard error
    std::string historyPath;        // the base the runs are kept in, "" the user's default one
    std::string user;               // the name they are kept under, "" the login (Latin-1)
};

// Before the application is made, `qtOptionsTaken` false: only --help and
// --version are answered, so that they need no display. After it, with
// Qt's options gone, anything else is refused.
ArgumentsAnswer AnswerArguments(const QStringList& arguments, bool qtOptionsTaken);

}  // namespace banc::window
