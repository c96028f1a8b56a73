#include "shell/WineServer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ScopedEnvironment.h"
#include "TemporaryWinePrefix.h"
#include "TestFiles.h"

namespace corvale {
namespace {

// A lock on a file held as a running wineserver holds its "lock", until the object ends: an
// open file description lock, which conflicts with every other open of the file, as another
// process's lock does.
class LockHolder {
  public:
    explicit LockHolder(const std::filesystem::path& lockFile)
        : fd_(open(lockFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600)) {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        if (fd_ < 0 || fcntl(fd_, F_OFD_SETLK, &lock) != 0)
            throw std::runtime_error("cannot lock " + lockFile.string());
    }
    ~LockHolder() { close(fd_); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

  private:
    int fd_;
};

std::string ServerFolder(const std::filesystem::path& prefix) {
    struct stat info {};
    stat(prefix.c_str(), &info);
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx",
                  static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    return name;
}

// Debian's Wine names its server's folder in <prefix>/wineserver, below $TMPDIR.
TEST(WineServerTest, SeesTheServerOnlyWhileItHoldsItsLock) {
    const TemporaryWinePrefix prefix;
    const test::TempFolder tmp;
    const ScopedEnvironment tmpdir("TMPDIR", tmp.Path().c_str());
    const auto serverFolder = tmp.Path() / "wine-Ab12Cd" / ServerFolder(prefix.Path());
    std::filesystem::create_directories(serverFolder);
    test::WriteFile(serverFolder / "lock", "");

    EXPECT_FALSE(WineServerRuns(prefix.Path())) << "no name of the server's folder";
    prefix.WriteFile("wineserver", "wine-Ab12Cd");
    EXPECT_FALSE(WineServerRuns(prefix.Path())) << "lock file, not held";
    {
        const LockHolder server(serverFolder / "lock");
        EXPECT_TRUE(WineServerRuns(prefix.Path())) << "lock held";
        prefix.WriteFile("wineserver", "wine-Other");
        EXPECT_FALSE(WineServerRuns(prefix.Path())) << "the server of another prefix";
        prefix.WriteFile("wineserver", "../wine-Ab12Cd");
        EXPECT_FALSE(WineServerRuns(prefix.Path())) << "a name that leaves the folder";
        prefix.WriteFile("wineserver", "wine-Ab12Cd");
    }
    EXPECT_FALSE(WineServerRuns(prefix.Path())) << "server ended";
    EXPECT_FALSE(WineServerRuns(prefix.Path() / "missing")) << "no prefix";
}

}  // namespace
}  // namespace corvale
