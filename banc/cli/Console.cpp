#include "cli/Console.h"

#include <unistd.h>

#include <QByteArray>
#include <QString>

namespace banc::cli {

void Write(std::FILE* stream, std::string_view latin1)
{
    const QByteArray local = QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size())).toLocal8Bit();
    std::fwrite(local.constData(), 1, static_cast<std::size_t>(local.size()), stream);
    std::fflush(stream);
}

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

}  // namespace banc::cli
