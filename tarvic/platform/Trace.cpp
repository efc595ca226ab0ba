#include "tarvic/platform/Trace.h"

#include <QLoggingCategory>
#include <QString>

#include <cstdarg>
#include <string>

#include "tarvic/platform/HandlerSlot.h"
#include "tarvic/platform/Text.h"

Q_LOGGING_CATEGORY(lcTarvic, "tarvic", QtInfoMsg)

namespace tarvic {
namespace {

void DefaultSink(std::string_view text)
{
    if (!lcTarvic().isDebugEnabled()) return;
    // Qt ends every message with a line of its own.
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    qCDebug(lcTarvic).noquote() << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

HandlerSlot<TraceSink>& Sink()
{
    static HandlerSlot<TraceSink> slot;
    return slot;
}

}  // namespace

void Trace(std::string_view text)
{
    if (const auto sink = Sink().Get())
        (*sink)(text);
    else
        DefaultSink(text);
}

void TraceFormat(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    Trace(text);
}

TraceSink SetTraceSink(TraceSink sink) { return Sink().Set(std::move(sink)); }

}  // namespace tarvic
