// The awards of one command walked one at a time and several at once: the same files, the same
// summary and the same standard error (each award's diagnostics in award order), and on a failure
// the same message with no file changed.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "cli/CliOptions.h"
#include "cli/CliRun.h"

namespace fs = std::filesystem;

namespace corvale::test {
namespace {

const std::string kDemo = CORVALE_SHARED_DIR "/fixtures/demo-log.mdb";

struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
    FolderImage files;
};

std::string ReadAndClose(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

struct Case {
    const char* name;
    std::vector<std::string> arguments;
    // Squares files that are folders, which fail their awards; the failure named first.
    std::vector<std::string> folders;
    std::string failure;
};

// Runs the command in-process on the demo log, into `folder` made afresh (pin files, exports),
// its "squares" folder (with the case's folders) and an old WAS pin file.
Outcome RunIn(const fs::path& folder, const Case& c, std::size_t walksAtOnce) {
    fs::remove_all(folder);
    fs::create_directories(folder / "squares");
    WriteFile(folder / "WASpins.lst", "02|-28412|3839|HI|\r\n");
    for (const std::string& name : c.folders)
        fs::create_directory(folder / "squares" / name);
    std::vector<std::string> words = {"corvale-cli", "--log", kDemo, "--lst-dir", folder.string()};
    words.insert(words.end(), {"--squares-dir", (folder / "squares").string()});
    words.insert(words.end(), c.arguments.begin(), c.arguments.end());
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    const CliParse parse = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_TRUE(parse.options.has_value()) << parse.message;
    if (!parse.options)
        return {};
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Outcome outcome;
    outcome.status = RunCommandLine(*parse.options, out, err, walksAtOnce);
    outcome.out = ReadAndClose(out);
    outcome.err = ReadAndClose(err);
    outcome.files = ImageOf(folder);
    return outcome;
}

TEST(WalksAtOnceTest, SeveralAtOnceWriteAndSayWhatOneAtATimeDoes) {
    const TempFolder temp;
    const fs::path folder = temp / "out";
    const Case cases[] = {
        {"squares, verbose", {"all", "--squares", "--verbose"}},
        {"exports, needed, JSON",
         {"all", "--squares", "--verbose", "--needed", "--json", "--export", "csv,kml",
          "--export-dir", folder.string()}},
        // VUCC's diagnostics come out before FFMA's failure.
        {"FFMA fails",
         {"all", "--squares", "--verbose"},
         {"FFMAsquares.wkd"},
         "FFMAsquares.wkd\": Is a directory.\n"},
        // What FFMA said is not printed when VUCC failed before it.
        {"VUCC fails",
         {"all", "--squares", "--verbose"},
         {"VUCCsquares.cfm"},
         "VUCCsquares.cfm\": Is a directory.\n"},
        // The first award that fails names the failure, whichever failed first in time.
        {"VUCC and FFMA fail",
         {"all", "--squares", "--verbose"},
         {"VUCCsquares.cfm", "FFMAsquares.wkd"},
         "VUCCsquares.cfm\": Is a directory.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome alone = RunIn(folder, c, 1);
        if (c.failure.empty()) {
            EXPECT_EQ(alone.status, 0) << alone.err;
            // VUCC and FFMA both convert locators, so both have diagnostics to keep in order.
            EXPECT_NE(alone.err.find("buffer:"), std::string::npos) << alone.err;
        } else {
            EXPECT_EQ(alone.status, 1);
            EXPECT_TRUE(alone.err.ends_with(c.failure)) << alone.err;
            EXPECT_EQ(ReadFile(folder / "WASpins.lst"), "02|-28412|3839|HI|\r\n");
        }
        for (const std::size_t walksAtOnce : {2U, 5U}) {
            SCOPED_TRACE(walksAtOnce);
            const Outcome together = RunIn(folder, c, walksAtOnce);
            EXPECT_EQ(together.status, alone.status);
            EXPECT_EQ(together.out, alone.out);
            EXPECT_EQ(together.err, alone.err);
            EXPECT_EQ(together.files, alone.files);
        }
    }
}

}  // namespace
}  // namespace corvale::test
