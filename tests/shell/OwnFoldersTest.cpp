#include "shell/OwnFolders.h"

#include <gtest/gtest.h>

#include <optional>

#include "ScopedEnvironment.h"
#include "TemporaryWinePrefix.h"

namespace corvale {
namespace {

namespace fs = std::filesystem;

TEST(OwnFoldersTest, LieInTheUsersDataFolder) {
    struct Case {
        const char* name;
        const char* xdgDataHome;  // nullptr: not set
        fs::path corvale;
    };
    const Case cases[] = {
        {"XDG_DATA_HOME unset", nullptr, "/home/op/.local/share/corvale"},
        {"XDG_DATA_HOME empty", "", "/home/op/.local/share/corvale"},
        {"XDG_DATA_HOME set", "/data/op", "/data/op/corvale"},
        {"XDG_DATA_HOME relative, so invalid", "data/op", "/home/op/.local/share/corvale"},
    };
    const ScopedEnvironment home("HOME", "/home/op");
    for (const Case& c : cases) {
        const ScopedEnvironment dataHome("XDG_DATA_HOME", c.xdgDataHome);
        const OwnFolders own = FindOwnFolders();
        EXPECT_EQ(own.pins, c.corvale / "Pins") << c.name;
        EXPECT_EQ(own.squares, c.corvale / "Squares") << c.name;
    }
}

TEST(OwnFoldersTest, AreMadeWhenFirstWrittenWhereOtherFoldersAreNot) {
    struct Case {
        const char* name;
        fs::path file;        // below the temporary folder
        fs::path folderMade;  // below the temporary folder; empty: nothing is made
    };
    const Case cases[] = {
        {"pins", "data/corvale/Pins/WASpins.lst", "data/corvale/Pins"},
        {"squares", "data/corvale/Squares/FFMAsquares.wkd", "data/corvale/Squares"},
        {"spelt with dots", "data/corvale/../corvale/Pins/./DXCCpins.lst", "data/corvale/Pins"},
        {"a folder the user named", "data/corvale/Mine/WASpins.lst", ""},
        {"below an own folder", "data/corvale/Pins/old/WASpins.lst", ""},
    };
    for (const Case& c : cases) {
        const TemporaryWinePrefix temporary;
        const fs::path root = temporary.Path();
        const ScopedEnvironment dataHome("XDG_DATA_HOME", (root / "data").c_str());
        MakeOwnFoldersOf({"", (root / c.file).string()});
        const bool made = !c.folderMade.empty();
        EXPECT_EQ(fs::is_directory(root / c.file.parent_path()), made) << c.name;
        EXPECT_TRUE(!made || fs::is_directory(root / c.folderMade)) << c.name;
    }
}

}  // namespace
}  // namespace corvale
