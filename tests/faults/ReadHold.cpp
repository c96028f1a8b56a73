// Preloaded into corvale-cli by the fault tests: holds up one read of the log, so that a test
// can make a short run long or change the log in the middle of a run.
//
//   CORVALE_TEST_HOLD_MS      how long the read waits
//   CORVALE_TEST_HOLD_OPENS   the read held is one of the file opened this many times (default
//                             1; corvale-cli opens the log once for its version, then to read)
//   CORVALE_TEST_HOLD_LOG     the log's path (any file, when not set)
//   CORVALE_TEST_HOLD_OFFSET  the first pread at or after this offset is held (default 0)
//   CORVALE_TEST_HOLD_MARKER  a file created when the wait begins, for the test to act on
//   CORVALE_TEST_HOLD_SIGNAL  a signal that the process sends itself when the wait begins
//
// Every call then goes to the kernel as usual.

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<int> logOpens{0};
std::atomic<int> heldFd{-1};
std::atomic<bool> held{false};

long Setting(const char* name, long otherwise) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::atol(text) : otherwise;
}

int Open(const char* path, int flags, mode_t mode) {
    const int fd = static_cast<int>(syscall(SYS_openat, AT_FDCWD, path, flags, mode));
    const char* log = std::getenv("CORVALE_TEST_HOLD_LOG");
    if (fd >= 0 && (log == nullptr || std::strcmp(path, log) == 0) &&
        ++logOpens == Setting("CORVALE_TEST_HOLD_OPENS", 1))
        heldFd = fd;
    return fd;
}

ssize_t Pread(int fd, void* buffer, size_t count, off_t offset) {
    if (fd == heldFd && offset >= Setting("CORVALE_TEST_HOLD_OFFSET", 0) && !held.exchange(true)) {
        if (const char* marker = std::getenv("CORVALE_TEST_HOLD_MARKER"))
            close(
                static_cast<int>(syscall(SYS_openat, AT_FDCWD, marker, O_CREAT | O_WRONLY, 0600)));
        if (const long signal = Setting("CORVALE_TEST_HOLD_SIGNAL", 0); signal != 0)
            kill(getpid(), static_cast<int>(signal));
        usleep(static_cast<useconds_t>(Setting("CORVALE_TEST_HOLD_MS", 0)) * 1000);
    }
    return syscall(SYS_pread64, fd, buffer, count, offset);
}

mode_t ModeArgument(int flags, va_list arguments) {
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return Open(path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return Open(path, flags, mode);
}

extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
    return Pread(fd, buffer, count, offset);
}

extern "C" ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) {
    return Pread(fd, buffer, count, offset);
}
