#include "shell/HomeFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace corvale {

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr)
        return user->pw_dir;
    return {};
}

}  // namespace corvale
