#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace banc::window {

// What the command line asks of tarvic-banc-fenetre: --help and --version of
// its own, beside Qt's options (-platform, -style...) that QApplication takes.
struct ArgumentsAnswer {
    std::optional<int> exitStatus;  // none: the window opens
    QString output;                 // for standard output
    QString errors;                 // for standard error
};

// Before the application is made, `qtOptionsTaken` false: only --help and
// --version are answered, so that they need no display. After it, with
// Qt's options gone, anything else is refused.
ArgumentsAnswer AnswerArguments(const QStringList& arguments, bool qtOptionsTaken);

}  // namespace banc::window
