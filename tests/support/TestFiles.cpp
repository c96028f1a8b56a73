#include "TestFiles.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace corvale::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvale-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    // A test may have taken permissions away; give them back so that removal works for a user
    // other than root too.
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ec))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

FolderImage ImageOf(const std::filesystem::path& folder) {
    FolderImage image;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        image[name] = entry.is_directory() ? std::string("<folder>") : ReadFile(entry.path());
    }
    return image;
}

void MakeWinePrefix(const std::filesystem::path& prefix) {
    std::filesystem::create_directories(prefix / "drive_c");
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
}

void WriteDxBaseIni(const std::filesystem::path& prefix, const std::string& dataPath,
                    const std::string& pgmPath) {
    std::filesystem::create_directories(prefix / "drive_c/windows");
    WriteFile(prefix / "drive_c/windows/Dxb2007.ini",
              "[Dir]\r\nDATAPATH=" + dataPath + "\r\nPGMPATH=" + pgmPath + "\r\n");
}

void RegisterDxAtlas(const std::filesystem::path& prefix, const std::string& installLocation) {
    std::string escaped;  // backslashes doubled, as Wine writes them
    for (char c : installLocation)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    WriteFile(prefix / "system.reg",
              "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
              "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\DX Atlas_is1] "
              "1700000000\n\"InstallLocation\"=\"" +
                  escaped + "\"\n");
}

}  // namespace corvale::test
