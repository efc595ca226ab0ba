#include "window/RefusedArgument.h"

#include <QCommandLineParser>

#include "window/Latin1.h"

namespace banc::window {

QString RefusedArgument(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (!parser.positionalArguments().isEmpty())
        return Q("argument inattendu : ") + parser.positionalArguments().front();
    for (const QString& name : parser.unknownOptionNames())
        for (const QString& argument : arguments.mid(1))
            if (argument == "-" + name || argument == "--" + name || argument.startsWith("--" + name + "="))
                return Q("option inconnue : ") + argument;
    // Known, but the last one, without the value it takes.
    return Q("l'option %1 attend une valeur").arg(arguments.back());
}

}  // namespace banc::window
