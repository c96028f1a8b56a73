// Preloaded into corvale-cli by the progress tests: the first pread() of the process waits
// $CORVALE_TEST_FIRST_READ_DELAY_MS milliseconds, so that a run on a small log lasts longer than
// a second. Every pread() then goes to the kernel as usual.

#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<bool> delayed{false};

ssize_t SlowPread(int fd, void* buffer, size_t count, off_t offset) {
    if (!delayed.exchange(true)) {
        if (const char* ms = std::getenv("CORVALE_TEST_FIRST_READ_DELAY_MS"))
            usleep(static_cast<useconds_t>(std::atol(ms)) * 1000);
    }
    return syscall(SYS_pread64, fd, buffer, count, offset);
}

}  // namespace

extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
    return SlowPread(fd, buffer, count, offset);
}

extern "C" ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) {
    return SlowPread(fd, buffer, count, offset);
}
