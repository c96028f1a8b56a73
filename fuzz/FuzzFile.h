#pragma once

// The fuzz targets hand their bytes to readers that take a file: a memfd, named through
// /proc/self/fd, rewritten for every input.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace corvale::fuzz {

class FuzzFile {
  public:
    explicit FuzzFile(const char* name) : fd_(memfd_create(name, MFD_CLOEXEC)) {
        if (fd_ < 0)
            std::abort();
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }

    // Replaces the file's bytes; the size is then `size`, or a multiple of `pad` when given.
    void Write(const std::uint8_t* data, std::size_t size, std::size_t pad = 1) const {
        const std::size_t padded = (size + pad - 1) / pad * pad;
        if (ftruncate(fd_, 0) != 0 || ftruncate(fd_, static_cast<off_t>(padded)) != 0)
            std::abort();
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0)
                std::abort();
            done += static_cast<std::size_t>(n);
        }
    }

    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }

  private:
    int fd_;
    std::string path_;
};

}  // namespace corvale::fuzz
