#include "awards/OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <system_error>
#include <thread>

#include "awards/AwardRun.h"
#include "awards/Windows1252.h"

namespace corvale {

namespace {

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

OutputFile::OutputFile(std::filesystem::path path) : path_(std::move(path)) {
    std::error_code ec;
    if (std::filesystem::is_directory(path_, ec))
        Fail("Cannot write", EISDIR);
    std::filesystem::path folder = path_.parent_path();
    if (folder.empty())
        folder = ".";
    std::string name = (folder / ("." + path_.filename().string() + ".XXXXXX")).string();
    int fd = mkstemp(name.data());
    if (fd < 0)
        Fail("Cannot create", errno);
    temporary_ = name;
    if (fchmod(fd, NewFileMode()) != 0 || (file_ = fdopen(fd, "wb")) == nullptr) {
        int error = errno;
        close(fd);
        Fail("Cannot create", error);
    }
}

OutputFile::~OutputFile() {
    if (file_ != nullptr)
        std::fclose(file_);
    if (!committed_ && !temporary_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temporary_, ec);
    }
}

void OutputFile::WriteLine(std::string_view utf8) {
    std::string line = Utf8ToWindows1252(utf8);
    line += "\r\n";
    Write(line);
}

void OutputFile::Write(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        Fail("Cannot write", errno);
}

void OutputFile::Finish() {
    if (file_ == nullptr)
        return;
    int error = 0;
    if (std::fflush(file_) != 0 || fsync(fileno(file_)) != 0)
        error = errno;
    if (std::fclose(file_) != 0 && error == 0)
        error = errno;
    file_ = nullptr;
    if (error != 0)
        Fail("Cannot write", error);
}

void OutputFile::Flush() {
    if (file_ != nullptr && std::fflush(file_) != 0)
        Fail("Cannot write", errno);
}

// syncfs waits for one flush of the disk's cache where an fsync per file waits for one each
// (with the exports, 15 more files). It also reports a failed writeback on that file system
// since this descriptor was opened (Linux 5.8 and later): a file that did not reach the disk
// fails the commit.
void OutputFile::SyncFileSystem() {
    if (file_ != nullptr && syncfs(fileno(file_)) != 0)
        Fail("Cannot write", errno);
}

void OutputFile::Close() {
    if (file_ == nullptr)
        return;
    const int error = std::fclose(file_) != 0 ? errno : 0;
    file_ = nullptr;
    if (error != 0)
        Fail("Cannot write", error);
}

dev_t OutputFile::Device() const {
    struct stat status {};
    if (file_ == nullptr || fstat(fileno(file_), &status) != 0)
        return 0;
    return status.st_dev;
}

void OutputFile::Replace() {
    Finish();
    std::error_code ec;
    if (std::filesystem::is_regular_file(path_, ec)) {
        // A hard link keeps the previous file without ever leaving the name empty.
        std::string name =
            (path_.parent_path() / ("." + path_.filename().string() + ".old.XXXXXX")).string();
        int fd = mkstemp(name.data());
        if (fd < 0)
            Fail("Cannot keep the previous", errno);
        close(fd);
        unlink(name.c_str());
        if (link(path_.c_str(), name.c_str()) != 0)
            Fail("Cannot keep the previous", errno);
        previous_ = name;
    }
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        KeepNew();
        Fail("Cannot replace", error);
    }
    committed_ = true;
}

void OutputFile::KeepNew() {
    if (!previous_.empty())
        unlink(previous_.c_str());
    previous_.clear();
}

void OutputFile::PutBackPrevious() {
    if (!committed_)
        return;
    if (previous_.empty()) {
        unlink(path_.c_str());
    } else if (std::rename(previous_.c_str(), path_.c_str()) == 0) {
        previous_.clear();
    }
}

void OutputFile::Fail(std::string_view what, int error) const {
    throw RunError(std::string(what) + " \"" + path_.string() + "\": " + std::strerror(error) +
                   ".");
}

OutputFile& OutputTransaction::Create(const std::filesystem::path& path) {
    files_.push_back(std::make_unique<OutputFile>(path));
    return *files_.back();
}

void OutputTransaction::Take(OutputTransaction&& other) {
    std::move(other.files_.begin(), other.files_.end(), std::back_inserter(files_));
    other.files_.clear();
}

void OutputTransaction::Commit() {
    for (auto& file : files_)
        file->Flush();
    std::vector<dev_t> synced;
    for (auto& file : files_) {
        const dev_t device = file->Device();
        if (device != 0 && std::find(synced.begin(), synced.end(), device) != synced.end())
            continue;
        file->SyncFileSystem();
        synced.push_back(device);
    }
    for (auto& file : files_)
        file->Close();
    std::size_t replaced = 0;
    try {
        for (; replaced < files_.size(); ++replaced)
            files_[replaced]->Replace();
    } catch (const RunError&) {
        while (replaced > 0)
            files_[--replaced]->PutBackPrevious();
        throw;
    }
    // Removing a replaced file frees its blocks, and each removal waits for the file system's
    // journal on its own (some 4 ms on a busy ext4): side by side they wait once, not once per
    // file. All are done before the commit returns.
    std::vector<std::jthread> removals;
    removals.reserve(files_.size());
    for (auto& file : files_) {
        try {
            removals.emplace_back([&file] { file->KeepNew(); });
        } catch (const std::system_error&) {
            file->KeepNew();  // no thread to spare
        }
    }
}

}  // namespace corvale
