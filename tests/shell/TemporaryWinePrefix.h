#pragma once

#include <filesystem>
#include <string_view>

#include "TestFiles.h"

// A Wine prefix in a fresh temporary folder, removed again at the end of the test: the C: drive
// link in dosdevices and, on request, drive_c/windows and any file below the prefix.
class TemporaryWinePrefix {
  public:
    TemporaryWinePrefix() { corvale::test::MakeWinePrefix(Path()); }
    const std::filesystem::path& Path() const { return folder_.Path(); }
    void AddWindowsDirectory() const {
        std::filesystem::create_directories(Path() / "drive_c" / "windows");
    }
    // Writes `content` byte for byte to `relativePath` below the prefix, making its folders.
    void WriteFile(const std::filesystem::path& relativePath, std::string_view content) const {
        std::filesystem::create_directories((Path() / relativePath).parent_path());
        corvale::test::WriteFile(Path() / relativePath, std::string(content));
    }

  private:
    corvale::test::TempFolder folder_;
};
