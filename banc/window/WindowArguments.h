#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

#include "net/MqttOptions.h"

namespace banc::window {

// What the command line asks of tarvic-banc-fenetre: --help and --version of
// its own, the run history's --historique and --etudiant as tarvic-banc's,
// the room's broker (--mqtt and the others, read by the network library),
// beside Qt's options (-platform, -style...) that QApplication takes.
struct ArgumentsAnswer {
    std::optional<int> exitStatus;  // none: the window opens
    QString output;                 // for standard output
    QString errors;                 // for standard error
    std::string historyPath;        // the base the runs are kept in, "" the user's default one
    std::string user;               // the name they are kept under, "" the login (Latin-1)
    net::MqttOptions mqtt;          // as given, "" each one not given
};

// Before the application is made, `qtOptionsTaken` false: only --help and
// --version are answered, so that they need no display. After it, with
// Qt's options gone, anything else is refused.
ArgumentsAnswer AnswerArguments(const QStringList& arguments, bool qtOptionsTaken);

// The room's broker from the options over the window's profile (section
// "MQTT"). Settings that cannot be used leave the room off, said on standard
// error: the window works the bench all the same.
net::MqttSettings RoomSettings(const net::MqttOptions& given);

}  // namespace banc::window
