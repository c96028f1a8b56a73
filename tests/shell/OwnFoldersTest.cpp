#include "shell/OwnFolders.h"

#include <gtest/gtest.h>

#include "CaseFile.h"
#include "ScopedEnvironment.h"
#include "TemporaryWinePrefix.h"

namespace corvale {
namespace {

namespace fs = std::filesystem;

TEST(OwnFoldersTest, LieInTheUsersDataFolder) {
    const ScopedEnvironment home("HOME", "/home/op");
    for (const test::Case& c : test::ReadCases("shell/cases/own-folders.tsv", "folder")) {
        const ScopedEnvironment dataHome("XDG_DATA_HOME",
                                         c[0] == "(unset)" ? nullptr : c[0].c_str());
        const OwnFolders own = FindOwnFolders();
        EXPECT_EQ(own.pins, fs::path(c[1]) / "Pins") << c.name;
        EXPECT_EQ(own.squares, fs::path(c[1]) / "Squares") << c.name;
    }
}

TEST(OwnFoldersTest, AreMadeWhenFirstWrittenWhereOtherFoldersAreNot) {
    for (const test::Case& c : test::ReadCases("shell/cases/own-folders.tsv", "made")) {
        const TemporaryWinePrefix temporary;
        const fs::path root = temporary.Path();
        const ScopedEnvironment dataHome("XDG_DATA_HOME", (root / "data").c_str());
        MakeOwnFoldersOf({"", (root / c[0]).string()});
        const bool made = c[1] != "(none)";
        EXPECT_EQ(fs::is_directory((root / c[0]).parent_path()), made) << c.name;
        EXPECT_TRUE(!made || fs::is_directory(root / c[1])) << c.name;
    }
}

}  // namespace
}  // namespace corvale
