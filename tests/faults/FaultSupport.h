#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "TestFiles.h"

namespace corvale::faults {

namespace fs = std::filesystem;

const std::string kFixtures = CORVALE_SHARED_DIR "/fixtures/";

using test::ReadFile;
using test::WriteFile;

// A folder of its own for a test's files, removed afterwards, read-only mounts in it included.
class TempFolder : public test::TempFolder {
  public:
    TempFolder() = default;
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
};

// Every file below a folder (relative path -> bytes): what must not change.
using FolderImage = std::map<std::string, std::string>;
FolderImage ImageOf(const fs::path& folder);

// Mounts for this test process only: a private mount namespace, entered once. False when the
// system does not allow it (no privilege for namespaces); the caller then skips.
bool PrivateMounts();
// Re-mounts `folder` onto itself read-only (bind mount). Needs PrivateMounts().
bool MountReadOnly(const fs::path& folder);
// Mounts a tmpfs of `bytes` on `folder`. Needs PrivateMounts().
bool MountTmpfs(const fs::path& folder, std::size_t bytes);
// Makes `folder` read-only for this process by any means: a read-only mount, or the
// permission bits where they bind (not as root). Returns why it cannot, or nothing.
std::optional<std::string> MakeReadOnly(const fs::path& folder);

// Whether a pseudo-terminal can be opened here (a container may have none).
bool TerminalsAvailable();

using CliOptions = test::RunOptions;
using CliOutcome = test::RunOutcome;
using test::RunCli;

// The environment that holds up one read of the log in corvale-cli (ReadHold.cpp), with the
// CORVALE_TEST_HOLD_* settings given.
std::map<std::string, std::string> HoldRead(std::map<std::string, std::string> settings);

// The arguments of a run of every award, squares included.
std::vector<std::string> AllAwards(const std::string& log, const fs::path& lstDir,
                                   const fs::path& squaresDir);

// The nine file names that such a run writes in its two folders.
extern const std::vector<std::string> kPinFiles;
extern const std::vector<std::string> kSquaresFiles;

}  // namespace corvale::faults
