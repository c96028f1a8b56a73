#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "TestFiles.h"

namespace corvale::test {

namespace fs = std::filesystem;

const std::string kFixtures = CORVALE_SHARED_DIR "/fixtures/";

// A folder of its own for a test's files, removed afterwards, mounts on its subfolders included.
class MountFolder : public TempFolder {
  public:
    ~MountFolder();
};

// Mounts a tmpfs of `bytes` on `folder`, for this test process only; false when the system does
// not allow it (no right to mount).
bool MountTmpfs(const fs::path& folder, std::size_t bytes);
// Makes `folder` read-only for this process by any means: a read-only mount, or the permission
// bits where they bind (not as root). Returns why it cannot, or nothing.
std::optional<std::string> MakeReadOnly(const fs::path& folder);

// The environment that holds up one read of the log in corvale-cli (ReadHold.cpp), with the
// CORVALE_TEST_HOLD_* settings given.
std::map<std::string, std::string> HoldRead(std::map<std::string, std::string> settings);

// The arguments of a run of every award, squares included.
std::vector<std::string> AllAwards(const std::string& log, const fs::path& lstDir,
                                   const fs::path& squaresDir);

}  // namespace corvale::test
