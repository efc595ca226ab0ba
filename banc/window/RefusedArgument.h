#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace banc::window {

// Why the parser stopped, naming the argument as the user typed it: the
// first it did not take, else the last one, an option without its value.
// Shared by the console's window and the room view.
QString RefusedArgument(const QCommandLineParser& parser, const QStringList& arguments);

}  // namespace banc::window
