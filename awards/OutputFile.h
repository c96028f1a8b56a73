#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvale {

// A text file that DX Atlas reads, written whole or not at all: the lines go to a temporary file
// in the same folder, which replaces the file only when the run commits. Until then (and when
// the run fails or is stopped) the previous file stays exactly as it was.
class OutputFile {
  public:
    // Creates the temporary file. Throws RunError naming the path and the reason.
    explicit OutputFile(std::filesystem::path path);
    ~OutputFile();  // removes the temporary file when not committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes the UTF-8 text in Windows-1252 followed by CR LF. Throws RunError.
    void WriteLine(std::string_view utf8);
    // Flushes the temporary file to disk; after this Commit cannot fail for want of space.
    void Finish();
    // Renames the temporary file over the file. Throws RunError.
    void Commit();

    const std::filesystem::path& Path() const { return path_; }

  private:
    [[noreturn]] void Fail(std::string_view what, int error) const;

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

// The files of one or more runs, replaced together: every file is finished before the first is
// renamed, so a failure while writing leaves every previous file as it was.
class OutputTransaction {
  public:
    OutputFile& Create(const std::filesystem::path& path);
    void Commit();
    std::vector<std::string> Paths() const;

  private:
    std::vector<std::unique_ptr<OutputFile>> files_;
};

}  // namespace corvale
