#include "FaultSupport.h"

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <fstream>

namespace corvale::test {

MountFolder::~MountFolder() {
    // The tests mount on the folder's own subfolders: those go before the files.
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(Path(), error))
        umount2(entry.path().c_str(), MNT_DETACH);
}

namespace {

bool EnterPrivateMounts() {
    if (unshare(CLONE_NEWNS) != 0) {
        // Without the privilege, a user namespace in which this user is root may still allow
        // mounts.
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
        std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
    }
    // Nothing mounted here may reach the rest of the system.
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// A private mount namespace for this test process, entered once.
bool PrivateMounts() {
    static const bool entered = EnterPrivateMounts();
    return entered;
}

}  // namespace

bool MountTmpfs(const fs::path& folder, std::size_t bytes) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    return PrivateMounts() &&
           mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

std::optional<std::string> MakeReadOnly(const fs::path& folder) {
    const char* path = folder.c_str();
    if (PrivateMounts() && mount(path, path, nullptr, MS_BIND, nullptr) == 0 &&
        mount(nullptr, path, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0)
        return std::nullopt;
    if (geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        return std::nullopt;
    }
    return "running as root without the right to mount: permission bits do not stop root, "
           "and no read-only mount can be made here";
}

std::map<std::string, std::string> HoldRead(std::map<std::string, std::string> settings) {
    settings["LD_PRELOAD"] = CORVALE_READ_HOLD;
    // Under the sanitizers, their runtime then need not come first.
    settings["ASAN_OPTIONS"] = "verify_asan_link_order=0";
    return settings;
}

std::vector<std::string> AllAwards(const std::string& log, const fs::path& lstDir,
                                   const fs::path& squaresDir) {
    return {"all",       "--squares",     "--source-mdb",  log,
            "--lst-dir", lstDir.string(), "--squares-dir", squaresDir.string()};
}

}  // namespace corvale::test
