#include "shell/WineServer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ScopedEnvironment.h"
#include "TemporaryWinePrefix.h"
#include "TestFiles.h"

namespace corvale {
namespace {

// Another process that holds the lock on a file, as a running wineserver holds its "lock", until
// the object ends.
class LockHolder {
  public:
    explicit LockHolder(const std::filesystem::path& lockFile) {
        int locked[2], release[2];
        if (pipe(locked) != 0 || pipe(release) != 0)
            throw std::runtime_error("pipe");
        child_ = fork();
        if (child_ == 0) {
            close(locked[0]);
            close(release[1]);  // else the read below would never see the end
            const int fd = open(lockFile.c_str(), O_WRONLY | O_CREAT, 0600);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            const char result = fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0 ? 'y' : 'n';
            (void)!write(locked[1], &result, 1);
            char ignored;
            (void)!read(release[0], &ignored, 1);
            _exit(0);
        }
        close(locked[1]);
        close(release[0]);
        release_ = release[1];
        char result = 'n';
        (void)!read(locked[0], &result, 1);
        close(locked[0]);
        if (result != 'y')
            throw std::runtime_error("the child could not lock " + lockFile.string());
    }
    ~LockHolder() {
        close(release_);
        waitpid(child_, nullptr, 0);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

  private:
    pid_t child_ = -1;
    int release_ = -1;
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
