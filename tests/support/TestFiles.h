#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace corvale::test {

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// The bytes of a file ("" when it cannot be read), and a file made of the given bytes.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// Every file and folder below a folder (relative path -> bytes, "<folder>" for a folder): what a
// test compares before and after.
using FolderImage = std::map<std::string, std::string>;
FolderImage ImageOf(const std::filesystem::path& folder);

// A Wine prefix made in `prefix`: drive C: and its link in dosdevices. DXBase's Dxb2007.ini in
// the Windows folder and DX Atlas's uninstall entry in system.reg are written as the two
// programs leave them.
void MakeWinePrefix(const std::filesystem::path& prefix);
void WriteDxBaseIni(const std::filesystem::path& prefix, const std::string& dataPath,
                    const std::string& pgmPath);
void RegisterDxAtlas(const std::filesystem::path& prefix, const std::string& installLocation);

}  // namespace corvale::test
