#include "net/Login.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace net {

std::string LoginName()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name) return entry->pw_name;
    const char* user = std::getenv("USER");
    return user && *user ? user : "inconnu";
}

}  // namespace net
