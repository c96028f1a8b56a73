// corvale-cli as a user runs it: files and summaries against those checked by hand (expected/),
// failures that change no file, wrong usage, exports, maps, and the settings of a Wine prefix.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "RunProgram.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

namespace corvale::test {
namespace {

const std::string kFixtures = CORVALE_SHARED_DIR "/fixtures/";
const std::string kDemo = kFixtures + "demo-log.mdb";
const std::string kAdif = kFixtures + "adif/";
const fs::path kExpected = fs::path(CORVALE_SOURCE_DIR) / "tests/cli/expected";

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

// Arguments written apart by `separator` in a case file: DEMO stands for the demo log, ADIF/ and
// FIXTURES/ for the folders of the ADIF samples and of the fixtures, OUT for `out`.
std::vector<std::string> Arguments(const std::string& text, const fs::path& out = {},
                                   char separator = ' ') {
    std::vector<std::string> arguments;
    for (std::string argument :
         text.empty() ? std::vector<std::string>{} : Split(text, separator)) {
        argument = ReplaceAll(ReplaceAll(argument, "DEMO", kDemo), "ADIF/", kAdif);
        argument = ReplaceAll(ReplaceAll(argument, "FIXTURES/", kFixtures), "OUT", out.string());
        arguments.push_back(argument);
    }
    return arguments;
}

class CliTest : public testing::Test {
  protected:
    // Runs corvale-cli with the arguments and no terminal, in an empty home folder of its own
    // without WINEPREFIX or XDG_DATA_HOME, then with `environment`.
    RunOutcome Cli(const std::vector<std::string>& arguments,
                   std::map<std::string, std::string> environment = {}) const {
        fs::create_directories(Home());
        environment["HOME"] = Home().string();
        return RunCli(arguments,
                      {.environment = environment, .unset = {"WINEPREFIX", "XDG_DATA_HOME"}});
    }
    // The same with the pin and squares files written into `out`.
    RunOutcome Run(std::vector<std::string> arguments, const fs::path& out) const {
        arguments.insert(arguments.end(),
                         {"--lst-dir", out.string(), "--squares-dir", out.string()});
        return Cli(arguments);
    }
    fs::path Home() const { return folder_ / "home"; }

    TempFolder temp_;
    const fs::path& folder_ = temp_.Path();
};

// The files of every award from a DXBase log and from an ADIF log (told by its content), and the
// VUCC files of the other bands.
TEST_F(CliTest, WritesTheFilesCheckedByHand) {
    const std::string lotw = kAdif + "sample-lotw.adi";
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"band-50", {"all", "--squares", "--source-mdb", kDemo}},
        {"band-144", {"vucc", "--squares", "--band", "144", "--source-mdb", kDemo}},
        {"band-222", {"vucc", "--squares", "--band", "222", "--source-mdb", kDemo}},
        {"band-432", {"vucc", "--squares", "--band", "432", "--source-mdb", kDemo}},
        {"adif-lotw", {"all", "--squares", "--log", lotw}},
    };
    for (const auto& [name, arguments] : cases) {
        SCOPED_TRACE(name);
        const fs::path out = folder_ / name, expected = kExpected / name;
        fs::create_directory(out);
        const RunOutcome o = Run(arguments, out);
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(ReplaceAll(o.out, out.string(), "OUT"), ReadFile(expected / "summary.txt"));
        EXPECT_EQ(ReplaceAll(o.err, lotw, "LOG"), ReadFile(expected / "warnings.txt"));
        FolderImage files = ImageOf(expected);
        std::erase_if(files, [](const auto& file) { return file.first.ends_with(".txt"); });
        EXPECT_EQ(ImageOf(out), files);
    }
}

// What a run says: summaries, needed lists, ADIF read reports, the confirmations that count.
TEST_F(CliTest, ReportsWhatItFound) {
    for (const Case& c : ReadCases("cli/cases/reports.tsv")) {
        SCOPED_TRACE(c.name);
        const RunOutcome o = Run(Arguments(c[0]), folder_);
        EXPECT_EQ(o.status, 0) << o.err;
        const std::string text = ReplaceAll(o.out + o.err, folder_.string(), "OUT");
        for (std::string part : Split(c[1])) {
            if (part.starts_with("FILE:"))
                part = ReadFile(kExpected / part.substr(5));
            EXPECT_NE(text.find(part), std::string::npos) << part << " not in:\n" << text;
        }
    }
}

// Each failure: exit status 1, one sentence naming what is wrong, and no file changed (pin files,
// maps, exports are replaced all or nothing).
TEST_F(CliTest, FailedRunChangesNoFile) {
    fs::create_directories(folder_ / "maps");
    fs::create_directories(Home());
    WriteFile(folder_ / "maps/WAS.png", "old picture");
    WriteFile(folder_ / "WASpins.lst", "02|-28412|3839|HI|\r\n");
    WriteFile(folder_ / "a-file", "");
    for (const Case& c : ReadCases("cli/cases/failed-runs.tsv")) {
        SCOPED_TRACE(c.name);
        const std::string log = Arguments(c[0], folder_).at(0);
        if (c[0].starts_with("OUT/"))
            WriteFile(log, c.fields.size() > 3 ? c[3] : "");
        const FolderImage before = ImageOf(folder_);
        std::vector<std::string> arguments = {"was", "dxcc", "--log", log};
        for (const std::string& option : Arguments(c[1], folder_))
            arguments.push_back(option);
        if (std::ranges::find(arguments, "--lst-dir") == arguments.end())
            arguments.insert(arguments.end(), {"--lst-dir", folder_.string()});
        const RunOutcome o = Cli(arguments);
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.out, "");
        EXPECT_TRUE(o.err.starts_with("corvale-cli: ") && o.err.find('\n') == o.err.size() - 1)
            << "not one line of corvale-cli's: " << o.err;
        for (const std::string& part : Arguments(c[2], folder_, '|'))
            EXPECT_NE(o.err.find(part), std::string::npos) << o.err;
        EXPECT_EQ(ImageOf(folder_), before);
    }
}

// Wrong usage is refused with exit status 2, before anything is read, saying what is expected.
TEST_F(CliTest, WrongUsageSaysWhatIsExpected) {
    for (const Case& c : ReadCases("cli/cases/wrong-usage.tsv")) {
        const RunOutcome o = Cli(Arguments(c[0]));
        EXPECT_EQ(o.status, 2) << c.name;
        EXPECT_NE(o.err.find(c[1]), std::string::npos) << c.name << ": " << o.err;
        EXPECT_EQ(o.out, "");
    }
    EXPECT_EQ(Cli({"--help"}).status, 0);
}

// Feature counts as GDAL's ogrinfo reads them: for GeoJSON and CSV one layer filtered by status,
// for KML one layer (Folder) per status.
int OgrFeatureCount(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"ogrinfo", "-ro", "-so"});
    const RunOutcome run = RunProgram(arguments);
    const std::string output = run.out + run.err;
    const std::size_t at = output.find("Feature Count: ");
    return at == std::string::npos ? -1 : std::stoi(output.substr(at + 15));
}

TEST_F(CliTest, ExportsReadByGdalAndWellFormedXml) {
    // The tools come with the test command (scripts/install-deps.sh): missing is a failure.
    ASSERT_EQ(RunProgram({"ogrinfo", "--version"}).status, 0) << "ogrinfo (gdal-bin) is missing";
    ASSERT_EQ(RunProgram({"xmllint", "--version"}).status, 0)
        << "xmllint (libxml2-utils) is missing";
    const RunOutcome o = Run({"all", "--squares", "--needed", "--export", "geojson,kml,csv",
                              "--export-dir", folder_.string(), "--source-mdb", kDemo},
                             folder_);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.err.find("WAS: 1 without a map position, left out of the GeoJSON and KML files\n"),
              std::string::npos)
        << o.err;
    // Confirmed, worked, needed: drawn (GeoJSON, KML: with a map position) and listed (CSV).
    const std::tuple<std::string, std::array<int, 3>, std::array<int, 3>> cases[] = {
        {"WAS", {50, 0, 0}, {51, 0, 0}},  // DC has no position
        {"DXCC", {42, 0, 293}, {42, 0, 293}},
        {"IOTA", {16, 0, 1153}, {16, 0, 1153}},
        {"VUCC-50", {29, 18, 0}, {29, 18, 0}},
        {"FFMA", {12, 2, 476}, {12, 2, 476}},  // the fields EM and EN lie outside the 488
    };
    const std::string statuses[] = {"confirmed", "worked", "needed"};
    for (const auto& [label, drawn, listed] : cases) {
        const std::string file = (folder_ / label).string();
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(label + " " + statuses[i]);
            const std::string where = "status='" + statuses[i] + "'";
            EXPECT_EQ(OgrFeatureCount({"-al", "-where", where, file + ".geojson"}), drawn[i]);
            EXPECT_EQ(OgrFeatureCount({file + ".kml", statuses[i]}), drawn[i]);
            EXPECT_EQ(OgrFeatureCount({"-al", "-where", where, file + ".csv"}), listed[i]);
        }
        EXPECT_EQ(RunProgram({"xmllint", "--noout", file + ".kml"}).status, 0) << label;
    }
}

// The width and height that a PNG file's header gives (big-endian, at bytes 16 and 20).
std::pair<int, int> PngSize(const std::string& bytes) {
    std::uint32_t size[2] = {0, 0};
    if (bytes.starts_with("\x89PNG\r\n\x1a\n") && bytes.size() >= 24)
        std::memcpy(size, bytes.data() + 16, sizeof size);
    return {static_cast<int>(ntohl(size[0])), static_cast<int>(ntohl(size[1]))};
}

// One map per award run, named as the exports are, in the format and size asked for; the
// folder is made when missing.
TEST_F(CliTest, DrawsAMapOfEachAward) {
    for (const Case& c : ReadCases("cli/cases/maps.tsv")) {
        SCOPED_TRACE(c.name);
        const fs::path maps = folder_ / c.name / "maps";
        std::vector<std::string> arguments = Arguments(c[0]);
        arguments.insert(arguments.end(), {"--map-dir", maps.string(), "--source-mdb", kDemo});
        const RunOutcome o = Run(arguments, folder_);
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.err.find("QStandardPaths"), std::string::npos) << o.err;
        const std::vector<std::string> files = Split(c[1]), size = Split(c[2], 'x');
        EXPECT_EQ(std::distance(fs::directory_iterator(maps), {}), files.size());
        for (const std::string& name : files) {
            const std::string bytes = ReadFile(maps / name);
            EXPECT_NE(o.out.find((maps / name).string()), std::string::npos) << o.out;
            if (name.ends_with(".png"))
                EXPECT_EQ(PngSize(bytes), std::pair(std::stoi(size[0]), std::stoi(size[1])));
            else
                EXPECT_NE(bytes.find("viewBox=\"0 0 " + size[0] + " " + size[1] + "\""),
                          std::string::npos);
        }
    }
}

// The contacts of a DXBase log and its ADIF export give the same files. DXBase left the third
// contact without an entity; the ADIF reader would place its call, so no country file is given.
TEST_F(CliTest, AdifExportGivesTheFilesOfItsDxbaseLog) {
    const fs::path noCountries = folder_ / "cty.csv";
    WriteFile(noCountries, "");
    for (const std::string band : {"50", "144", "222", "432"}) {
        std::vector<FolderImage> images;
        for (const std::string& log :
             {kFixtures + "version-06.mdb", kAdif + "version-06-export.adi"}) {
            const TempFolder out;
            const RunOutcome o = Run({"all", "--squares", "--band", band, "--log", log,
                                      "--country-file", noCountries.string()},
                                     out.Path());
            ASSERT_EQ(o.status, 0) << log << ": " << o.err;
            images.push_back(ImageOf(out.Path()));
        }
        EXPECT_EQ(images[0].size(), 9u) << band;
        EXPECT_EQ(images[0], images[1]) << band;
    }
}

// A log not closed cleanly, its table header counting other rows than its pages hold, is read as
// the pages hold it, with one warning that names the log and the cure.
TEST_F(CliTest, AStoredRowCountThatDisagreesIsReadWithOneWarning) {
    std::string bytes = ReadFile(kFixtures + "sample-log.mdb");
    bytes[24 * 4096 + 16] = 7;  // [QSO-TAB] (defined on page 24) counts 4,871 rows, not 5,000
    WriteFile(folder_ / "log.mdb", bytes);
    const RunOutcome o =
        Run({"all", "--squares", "--log", (folder_ / "log.mdb").string()}, folder_);
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string err = ReplaceAll(o.err, folder_.string(), "OUT");
    EXPECT_NE(err.find("corvale-cli: warning: The log \"OUT/log.mdb\" was not closed cleanly ("),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("compact and repair"), err.rfind("compact and repair")) << "once: " << err;
    EXPECT_FALSE(ReadFile(folder_ / "WASpins.lst").empty());
}

// Where the log and the folders come from: a Wine prefix in which DXBase (with the demo log) and
// DX Atlas are installed as their installers leave them, the names in the settings differing in
// case from those on the disk; without DX Atlas, Corvale's own folders in the user's data folder.
TEST_F(CliTest, FindsTheLogAndFoldersInTheSettings) {
    enum class Prefix { None, WithDxAtlas, WithoutDxAtlas, WithoutDxBase };
    struct Case {
        std::string name;
        Prefix prefix;
        std::vector<std::string> options;  // after "was ffma --squares"
        std::map<std::string, std::string> environment;
        fs::path filesIn;  // the folder of Pins/ and Squares/; "" when the run fails
        std::vector<std::string> inErr;
    };
    const std::string wine = (Home() / ".wine").string(), own = Home() / ".local/share/corvale";
    const std::string xdg = (folder_ / "xdg").string(), xdgOwn = xdg + "/corvale";
    const fs::path atlas = wine + "/dosdevices/c:/Program Files (x86)/DX Atlas";
    const std::vector<std::string> demo = {"--source-mdb", kDemo};
    const std::vector<Case> cases = {
        {"prefix named", Prefix::WithDxAtlas, {"--wine-prefix", wine}, {}, atlas, {}},
        {"prefix without DXBase's settings", Prefix::WithoutDxBase, {}, {}, "", {"DATAPATH"}},
        {"no prefix, no log", Prefix::None, {}, {}, "", {wine, "--wine-prefix", "WINEPREFIX"}},
        {"no prefix", Prefix::None, demo, {}, own, {own, wine, "--wine-prefix", "WINEPREFIX"}},
        {"XDG_DATA_HOME", Prefix::None, demo, {{"XDG_DATA_HOME", xdg}}, xdgOwn, {xdgOwn, wine}},
        {"prefix without DX Atlas", Prefix::WithoutDxAtlas, {}, {}, own, {own, wine}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Home());
        if (c.prefix != Prefix::None) {
            MakeWinePrefix(wine);
            fs::create_directories(wine + "/drive_c/windows");
            if (c.prefix != Prefix::WithoutDxBase)
                WriteDxBaseIni(wine, "C:\\dxbase\\DXBASE.MDB", "C:\\DXBase");
            fs::create_directories(wine + "/drive_c/DXBase");
            fs::copy_file(kDemo, wine + "/drive_c/DXBase/Dxbase.mdb");
            fs::create_directories(atlas / "Pins");
            fs::create_directories(atlas / "Squares");
            if (c.prefix == Prefix::WithDxAtlas)
                RegisterDxAtlas(wine, "C:\\Program Files (x86)\\DX Atlas\\");
            else
                WriteFile(wine + "/system.reg", "WINE REGISTRY Version 2\n");
        }
        std::vector<std::string> arguments = {"was", "ffma", "--squares"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const RunOutcome o = Cli(arguments, c.environment);
        for (const std::string& part : c.inErr)
            EXPECT_NE(o.err.find(part), std::string::npos) << o.err;
        EXPECT_EQ(o.status, c.filesIn.empty() ? 1 : 0) << o.err;
        if (c.filesIn.empty())
            continue;
        const fs::path pins = c.filesIn / "Pins/WASpins.lst";
        EXPECT_EQ(ReadFile(pins), ReadFile(kExpected / "band-50/WASpins.lst"));
        EXPECT_EQ(ReadFile(c.filesIn / "Squares/FFMAsquares.cfm"),
                  ReadFile(kExpected / "band-50/FFMAsquares.cfm"));
        EXPECT_NE(o.out.find("-> " + pins.string()), std::string::npos) << o.out;
    }
}

}  // namespace
}  // namespace corvale::test
