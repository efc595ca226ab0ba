#pragma once

#include <string>

#include "tarvic/platform/Export.h"

// Why a file could not be used, worded in French (Latin-1) from the errno the
// failed call left, so that the system's English ("No such file or directory")
// never reaches a user. Without Qt: the simulated card words its errors with it.
namespace tarvic {

enum class FileUse { Read, Write };

// The reason alone, to follow "Impossible de lire x : " ("fichier introuvable",
// "acc\xE8s refus\xE9"...). An error without words of ours gives its name
// ("erreur syst\xE8me EXDEV"), the same in every language.
TARVIC_EXPORT std::string FileErrorReason(int error, FileUse use);

// The errno's symbolic name ("EROFS"), or its number when it has none.
TARVIC_EXPORT std::string ErrorName(int error);

}  // namespace tarvic
