#pragma once

#include <sys/types.h>

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
    // Writes the bytes as they are (files in UTF-8 for other programs). Throws RunError.
    void Write(std::string_view bytes);
    // Flushes the temporary file to disk; after this a commit cannot fail for want of space.
    void Finish();
    // Finish in three steps, for a transaction that syncs each file system once instead of
    // each file: Flush hands what is written to the system; SyncFileSystem writes the file
    // system that holds the file to disk (this file's data and any other's); Close closes the
    // file. Each throws RunError.
    void Flush();
    void SyncFileSystem();
    void Close();
    // The file system that holds the temporary file.
    dev_t Device() const;
    // Renames the temporary file over the file, keeping the previous file under a second name
    // until KeepNew or PutBackPrevious. Throws RunError, the file then as it was.
    void Replace();
    // Drops the kept previous file.
    void KeepNew();
    // Undoes Replace: the previous file comes back (or the new one goes, when there was none).
    void PutBackPrevious();

    const std::filesystem::path& Path() const { return path_; }

  private:
    [[noreturn]] void Fail(std::string_view what, int error) const;

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    std::filesystem::path previous_;  // a second name of the replaced file; empty for none
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

// The files of one or more runs, replaced together or not at all: every file is on disk before
// the first is renamed, and a rename that fails puts back the files already replaced.
class OutputTransaction {
  public:
    OutputFile& Create(const std::filesystem::path& path);
    // Takes the files of `other` after its own, in their order: files created apart (one
    // transaction for each thread) are then replaced together. `other` is left empty.
    void Take(OutputTransaction&& other);
    void Commit();

  private:
    std::vector<std::unique_ptr<OutputFile>> files_;
};

}  // namespace corvale
