// A run that cannot write its files fails with one clear sentence and changes no file: the
// output folder read-only, the disk full, a file too large for the process's limit, an output
// file's name taken by a folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>

#include "FaultSupport.h"

namespace corvale::faults {
namespace {

struct Folders {
    fs::path pins, squares;
};

// The files of an earlier run, each with its own content.
void PutOldFiles(const Folders& folders) {
    for (const std::string& name : kPinFiles)
        WriteFile(folders.pins / name, "01+1234-5678|old " + name + "|\r\n");
    for (const std::string& name : kSquaresFiles)
        WriteFile(folders.squares / name, "FN\r\nold " + name + "\r\n");
}

// Fills the file system of `folder` to the last byte.
void FillUp(const fs::path& folder) {
    std::FILE* filler = std::fopen((folder / "filler").c_str(), "wb");
    ASSERT_NE(filler, nullptr);
    const std::string block(512, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
           std::fflush(filler) == 0) {
    }
    std::fclose(filler);
}

struct OutputFault {
    std::string name;
    // Spoils the folders (their old files are in place); returns why the case cannot run here.
    std::function<std::optional<std::string>(const Folders&)> spoil;
    rlim_t fileSizeLimit;              // of the run; 0: none
    std::vector<std::string> reasons;  // the system's words, one of which the message gives
};

std::string MessagePattern() {
    // corvale-cli: Cannot write "PATH": REASON.
    return R"re(corvale-cli: Cannot (create|write|replace) "([^"]+)": ([^\n]+)\.\n)re";
}

TEST(OutputFaults, FailedRunNamesThePathAndChangesNoFile) {
    const std::vector<OutputFault> cases = {
        {"pin folder read-only",
         [](const Folders& f) { return MakeReadOnly(f.pins); },
         0,
         {"Read-only file system", "Permission denied"}},
        {"squares folder read-only",
         [](const Folders& f) { return MakeReadOnly(f.squares); },
         0,
         {"Read-only file system", "Permission denied"}},
        {"disk full",
         [](const Folders& f) -> std::optional<std::string> {
             if (!MountTmpfs(f.pins, 64 * 1024))
                 return "no tmpfs can be mounted here (no right to mount)";
             PutOldFiles(f);
             FillUp(f.pins);
             return std::nullopt;
         },
         0,
         {"No space left on device"}},
        {"file size limit reached",
         [](const Folders&) { return std::optional<std::string>(); },
         40,
         {"File too large"}},
        {"pin file name taken by a folder",
         [](const Folders& f) {
             fs::remove(f.pins / "DXCCpins.lst");
             fs::create_directories(f.pins / "DXCCpins.lst" / "inside");
             return std::optional<std::string>();
         },
         0,
         {"Is a directory"}},
        {"squares file name taken by a folder",
         [](const Folders& f) {
             fs::remove(f.squares / "FFMAsquares.cfm");
             fs::create_directories(f.squares / "FFMAsquares.cfm");
             return std::optional<std::string>();
         },
         0,
         {"Is a directory"}},
    };
    const std::regex message(MessagePattern());
    std::string skipped;
    for (const OutputFault& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const Folders folders{folder / "pins", folder / "squares"};
        fs::create_directory(folders.pins);
        fs::create_directory(folders.squares);
        PutOldFiles(folders);
        if (const auto why = c.spoil(folders)) {
            skipped += "\n  " + c.name + ": " + *why;
            continue;
        }
        const FolderImage before = ImageOf(folder.Path());

        CliOptions options;
        if (c.fileSizeLimit != 0)
            options.fileSizeLimit = c.fileSizeLimit;
        const CliOutcome run =
            RunCli(AllAwards(kFixtures + "sample-log.mdb", folders.pins, folders.squares), options);

        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.out, "");
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(run.err, parts, message)) << run.err;
        const fs::path named = parts[2].str();
        const bool ours =
            named.parent_path() == folders.pins || named.parent_path() == folders.squares;
        EXPECT_TRUE(ours) << "the message names " << named;
        EXPECT_NE(std::find(c.reasons.begin(), c.reasons.end(), parts[3].str()), c.reasons.end())
            << run.err;
        // Every old file as it was, and no temporary file left behind.
        EXPECT_EQ(ImageOf(folder.Path()), before);
    }
    // The other cases have run (and a failure among them stands); say which could not.
    if (!skipped.empty())
        GTEST_SKIP() << "cases that cannot run here:" << skipped;
}

}  // namespace
}  // namespace corvale::faults
