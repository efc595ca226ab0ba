#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <string>

#include "net/MqttOptions.h"
#include "net/MqttSettings.h"

namespace salle {

// What the command line asks of tarvic-salle: the broker and the room (the
// options every program of the room shares, and the profile's section
// "MQTT" under them), the history, the silence allowed; beside Qt's options.
struct ArgumentsAnswer {
    std::optional<int> exitStatus;  // none: the window opens
    QString output;                 // for standard output
    QString errors;                 // for standard error
    net::MqttSettings settings;     // no host: no broker given
    std::string historyPath;        // "" the room's own base
    std::chrono::seconds silence{10};
};

// Before the application is made, `qtOptionsTaken` false: only --help and
// --version are answered, so that they need no display. After it, with
// Qt's options gone, anything else is refused. `profile` reads the profile's
// section "MQTT".
ArgumentsAnswer AnswerArguments(const QStringList& arguments, bool qtOptionsTaken, const net::ProfileEntry& profile);

}  // namespace salle
