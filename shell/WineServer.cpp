#include "shell/WineServer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace corvale {

namespace {

std::string ServerFolderName(const struct stat& prefix) {
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx",
                  static_cast<unsigned long long>(prefix.st_dev),
                  static_cast<unsigned long long>(prefix.st_ino));
    return name;
}

// The folders that may hold the server's folder.
std::vector<std::filesystem::path> ServerRoots(const std::filesystem::path& prefix) {
    std::vector<std::filesystem::path> roots{"/tmp/.wine-" + std::to_string(getuid())};
    std::string debianFolder;
    std::getline(std::ifstream(prefix / "wineserver"), debianFolder);
    if (debianFolder.empty() || debianFolder.find('/') != std::string::npos ||
        debianFolder == "." || debianFolder == "..") {
        return roots;
    }
    if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && *tmp != '\0')
        roots.push_back(std::filesystem::path(tmp) / debianFolder);
    roots.push_back(std::filesystem::path("/tmp") / debianFolder);
    return roots;
}

// Whether another process holds a lock on the file.
bool LockIsHeld(const std::filesystem::path& lockFile) {
    const int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool held = fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    close(fd);
    return held;
}

}  // namespace

bool WineServerRuns(const std::filesystem::path& prefix) {
    struct stat info {};
    if (stat(prefix.c_str(), &info) != 0)
        return false;
    const std::string folder = ServerFolderName(info);
    for (const auto& root : ServerRoots(prefix)) {
        if (LockIsHeld(root / folder / "lock"))
            return true;
    }
    return false;
}

}  // namespace corvale
