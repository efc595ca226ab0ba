#include "tarvic/platform/FileError.h"

#include <cerrno>
#include <cstring>

namespace tarvic {

std::string FileErrorReason(int error, FileUse use)
{
    switch (error) {
    case ENOENT: return use == FileUse::Read ? "fichier introuvable" : "dossier introuvable";
    case ENOTDIR: return "dossier introuvable";
    case EACCES:
    case EPERM: return "acc\xE8s refus\xE9";
    case EISDIR: return "c'est un dossier";
    case EROFS: return "syst\xE8me de fichiers en lecture seule";
    case ENOSPC: return "disque plein";
    case EDQUOT: return "quota d\xE9pass\xE9";
    case EBUSY:
    case ETXTBSY: return "occup\xE9 par un autre programme";
    case ENAMETOOLONG: return "nom trop long";
    case ELOOP: return "trop de liens symboliques";
    case EIO: return "erreur d'entr\xE9" "e-sortie";
    case EMFILE:
    case ENFILE: return "trop de fichiers ouverts";
    case 0: return use == FileUse::Read ? "lecture refus\xE9" "e" : "\xE9" "criture refus\xE9" "e";
    default: return "erreur syst\xE8me " + ErrorName(error);
    }
}

std::string ErrorName(int error)
{
    const char* name = ::strerrorname_np(error);
    return name ? name : std::to_string(error);
}

}  // namespace tarvic
