#pragma once

#include <filesystem>
#include <fstream>
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
        const auto path = Path() / relativePath;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }

  private:
    corvale::test::TempFolder folder_;
};
