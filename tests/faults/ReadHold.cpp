// Preloaded into corvale-cli by the fault tests: holds up one read of the log, so that a test
// can make a short run long or stop it in the middle of a read.
//
//   CORVALE_TEST_HOLD_MS      how long the first pread of the file held waits
//   CORVALE_TEST_HOLD_OPENS   the file held is the one opened this many times (default 1;
//                             corvale-cli opens the log to tell its kind, for its version, then
//                             to read its rows)
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

namespace {

std::atomic<int> opens{0};
std::atomic<int> heldFd{-1};
std::atomic<bool> held{false};

long Setting(const char* name, long otherwise) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::atol(text) : otherwise;
}

int Open(const char* path, int flags, va_list arguments) {
    const mode_t mode =
        (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
    const int fd = static_cast<int>(syscall(SYS_openat, AT_FDCWD, path, flags, mode));
    if (fd >= 0 && ++opens == Setting("CORVALE_TEST_HOLD_OPENS", 1))
        heldFd = fd;
    return fd;
}

ssize_t Pread(int fd, void* buffer, size_t count, off_t offset) {
    if (fd == heldFd && !held.exchange(true)) {
        if (const long signal = Setting("CORVALE_TEST_HOLD_SIGNAL", 0); signal != 0)
            kill(getpid(), static_cast<int>(signal));
        usleep(static_cast<useconds_t>(Setting("CORVALE_TEST_HOLD_MS", 0)) * 1000);
    }
    return syscall(SYS_pread64, fd, buffer, count, offset);
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int fd = Open(path, flags, arguments);
    va_end(arguments);
    return fd;
}

extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
    return Pread(fd, buffer, count, offset);
}

// The large-file names of the same calls, which some libraries call.
extern "C" int open64(const char* path, int flags, ...) __attribute__((alias("open")));
extern "C" ssize_t pread64(int, void*, size_t, off_t) __attribute__((alias("pread")));
