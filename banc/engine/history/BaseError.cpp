#include "engine/history/BaseError.h"

#include <sqlite3.h>

#include <tarvic/platform/FileError.h>
#include <tarvic/platform/Text.h>

namespace banc::history {

std::string BaseErrorReason(int code, int systemError)
{
    switch (code & 0xFF) {
    case SQLITE_NOTADB:
        return "ce n'est pas une base SQLite (fichier d'une autre application, ou endommag\xE9), il est laiss\xE9 "
               "tel quel";
    case SQLITE_CORRUPT: return "le fichier est endommag\xE9, il est laiss\xE9 tel quel";
    case SQLITE_FULL: return "le disque est plein";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return tarvic::Format("la base est occup\xE9" "e par un autre programme depuis plus de %d s",
                              kBusyTimeoutMs / 1000);
    case SQLITE_READONLY: return "la base est en lecture seule";
    case SQLITE_NOMEM: return "m\xE9moire insuffisante";
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
        if (systemError != 0) return tarvic::FileErrorReason(systemError, tarvic::FileUse::Write);
        return (code & 0xFF) == SQLITE_CANTOPEN ? "le fichier ne s'ouvre pas" : "erreur d'entr\xE9" "e-sortie";
    default: return tarvic::Format("erreur SQLite %d", code);
    }
}

}  // namespace banc::history
