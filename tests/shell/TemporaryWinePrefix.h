#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

// A Wine prefix in a fresh temporary folder, removed again at the end of the test: the C: drive
// link in dosdevices and, on request, drive_c/windows and any file below the prefix.
class TemporaryWinePrefix {
  public:
    TemporaryWinePrefix() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvale-wine-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        root_ = pattern;
        std::filesystem::create_directories(root_ / "drive_c");
        std::filesystem::create_directories(root_ / "dosdevices");
        std::filesystem::create_directory_symlink("../drive_c", root_ / "dosdevices" / "c:");
    }
    ~TemporaryWinePrefix() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TemporaryWinePrefix(const TemporaryWinePrefix&) = delete;
    TemporaryWinePrefix& operator=(const TemporaryWinePrefix&) = delete;

    const std::filesystem::path& Path() const { return root_; }

    void AddWindowsDirectory() const {
        std::filesystem::create_directories(root_ / "drive_c" / "windows");
    }

    // Writes `content` byte for byte to `relativePath` below the prefix, making its folders.
    void WriteFile(const std::filesystem::path& relativePath, std::string_view content) const {
        const auto path = root_ / relativePath;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }

  private:
    std::filesystem::path root_;
};
