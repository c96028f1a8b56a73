#include "awards/OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

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
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size())
        Fail("Cannot write", errno);
}

void OutputFile::Finish() {
    if (file_ == nullptr)
        return;
    bool ok = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    int error = errno;
    ok = std::fclose(file_) == 0 && ok;
    if (!ok && error == 0)
        error = errno;
    file_ = nullptr;
    if (!ok)
        Fail("Cannot write", error);
}

void OutputFile::Commit() {
    Finish();
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
        Fail("Cannot replace", errno);
    committed_ = true;
}

void OutputFile::Fail(std::string_view what, int error) const {
    throw RunError(std::string(what) + " \"" + path_.string() + "\": " + std::strerror(error) +
                   ".");
}

OutputFile& OutputTransaction::Create(const std::filesystem::path& path) {
    files_.push_back(std::make_unique<OutputFile>(path));
    return *files_.back();
}

void OutputTransaction::Commit() {
    for (auto& file : files_)
        file->Finish();
    for (auto& file : files_)
        file->Commit();
}

std::vector<std::string> OutputTransaction::Paths() const {
    std::vector<std::string> paths;
    for (const auto& file : files_)
        paths.push_back(file->Path().string());
    return paths;
}

}  // namespace corvale
