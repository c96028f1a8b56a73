#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

using corvale::test::ReadFile;

const std::string kFixtures = CORVALE_SHARED_DIR "/fixtures/";
const fs::path kExpected = fs::path(CORVALE_SOURCE_DIR) / "tests/cli/expected";

using Outcome = corvale::test::RunOutcome;

class CliTest : public testing::Test {
  protected:
    // Runs corvale-cli with the arguments and no terminal, in an empty home folder of its own
    // without WINEPREFIX or XDG_DATA_HOME, then with `environment`.
    Outcome Cli(const std::vector<std::string>& arguments,
                std::map<std::string, std::string> environment = {}) const {
        fs::create_directories(Home());
        environment["HOME"] = Home().string();
        return corvale::test::RunCli(
            arguments, {.environment = environment, .unset = {"WINEPREFIX", "XDG_DATA_HOME"}});
    }

    fs::path Home() const { return folder_ / "home"; }

    corvale::test::TempFolder temp_;
    const fs::path& folder_ = temp_.Path();
};

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

// Files checked by hand against the demo log, one folder per VUCC band.
TEST_F(CliTest, WritesTheFilesOfEveryAward) {
    for (const std::string band : {"50", "144", "222", "432"}) {
        const fs::path out = folder_ / band;
        fs::create_directory(out);
        Outcome o =
            Cli({"all", "--squares", "--band", band, "--source-mdb", kFixtures + "demo-log.mdb",
                 "--lst-dir", out.string(), "--squares-dir", out.string()});
        ASSERT_EQ(o.status, 0) << o.err;
        const fs::path expected = kExpected / ("band-" + band);
        EXPECT_EQ(ReplaceAll(o.out, out.string(), "OUT"), ReadFile(expected / "summary.txt"));
        EXPECT_EQ(o.err, ReadFile(expected / "warnings.txt"));
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(expected)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".txt"))
                continue;
            ++files;
            EXPECT_EQ(ReadFile(out / name), ReadFile(entry.path())) << band << "/" << name;
        }
        EXPECT_EQ(files, 9u);
        EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 9) << "stray files in " << out;
    }
}

TEST_F(CliTest, JsonSummary) {
    Outcome o = Cli({"was", "--json", "--source-mdb", kFixtures + "demo-log.mdb", "--lst-dir",
                     folder_.string()});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReplaceAll(o.out, folder_.string(), "OUT"), ReadFile(kExpected / "was-summary.json"));
}

// Each bad input: exit status 1, one sentence on standard error naming the file, and the
// previous pin file exactly as it was.
TEST_F(CliTest, BadInputChangesNothing) {
    struct Case {
        std::string name;
        std::string log;
        std::string lstDir;  // "" for the test's folder
        std::string inMessage;
    };
    const std::string missingFolder = (folder_ / "no-such-folder").string();
    const std::vector<Case> cases = {
        {"missing log", kFixtures + "no-such.mdb", "", "no-such.mdb"},
        {"folder as log", kFixtures, "", kFixtures},
        {"empty file", kFixtures + "zero.mdb", "", "zero.mdb"},
        {"not a database", kFixtures + "garbage.mdb", "", "garbage.mdb"},
        {"truncated", kFixtures + "truncated.mdb", "", "truncated.mdb"},
        {"no QSO table", kFixtures + "no-qso-tab.mdb", "", "no-qso-tab.mdb"},
        {"no VERSION table", kFixtures + "no-version-table.mdb", "", "no-version-table.mdb"},
        {"VERSION without row", kFixtures + "version-no-rows.mdb", "", "version-no-rows.mdb"},
        {"version 7", kFixtures + "version-7.mdb", "", "DXbase mdb file version error"},
        {"output folder missing", kFixtures + "demo-log.mdb", missingFolder, missingFolder},
    };
    const fs::path pins = folder_ / "WASpins.lst";
    for (const Case& c : cases) {
        std::ofstream(pins, std::ios::binary) << "02|-28412|3839|HI|\r\n";
        Outcome o = Cli({"was", "dxcc", "--source-mdb", c.log, "--lst-dir",
                         c.lstDir.empty() ? folder_.string() : c.lstDir});
        EXPECT_EQ(o.status, 1) << c.name << ": " << o.err;
        EXPECT_TRUE(o.out.empty()) << c.name;
        EXPECT_TRUE(o.err.starts_with("corvale-cli: ")) << c.name << ": " << o.err;
        EXPECT_NE(o.err.find(c.inMessage), std::string::npos) << c.name << ": " << o.err;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << c.name << ": " << o.err;
        EXPECT_EQ(ReadFile(pins), "02|-28412|3839|HI|\r\n") << c.name;
        EXPECT_FALSE(fs::exists(folder_ / "DXCCpins.lst")) << c.name;
    }
}

TEST_F(CliTest, ListsWhatEachAwardStillNeeds) {
    Outcome o = Cli({"was", "dxcc", "vucc", "--needed", "--source-mdb", kFixtures + "demo-log.mdb",
                     "--lst-dir", folder_.string()});
    ASSERT_EQ(o.status, 0) << o.err;
    std::vector<std::string> lines;
    for (std::istringstream in(o.out); std::getline(in, lines.emplace_back());) {
    }
    lines.pop_back();
    ASSERT_EQ(lines.size(), 5u) << o.out;
    EXPECT_EQ(lines[1], "WAS needed (0)");
    EXPECT_TRUE(
        lines[3].starts_with("DXCC needed (293): 1S SPRATLY ISLANDS, 3B6 AGALEGA & SAINT "
                             "BRANDON ISLANDS, "))
        << lines[3];
    EXPECT_TRUE(lines[3].ends_with(", ZS8 PRINCE EDWARD & MARION ISLANDS")) << lines[3];
    EXPECT_TRUE(lines[4].starts_with("VUCC: ")) << "VUCC has no needed line: " << lines[4];

    o = Cli({"dxcc", "vucc", "--json", "--source-mdb", kFixtures + "demo-log.mdb", "--lst-dir",
             folder_.string()});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find(R"("needed":[{"key":"1S","name":"SPRATLY ISLANDS"},)"), std::string::npos);
    EXPECT_TRUE(o.out.ends_with(R"("needed":[]}]})"
                                "\n"))
        << o.out;
}

// Feature counts as GDAL's ogrinfo reads them: for GeoJSON and CSV one layer filtered by status,
// for KML one layer (Folder) per status.
struct StatusCounts {
    int confirmed;
    int worked;
    int needed;
};

int OgrFeatureCount(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"ogrinfo", "-ro", "-so"});
    const corvale::test::RunOutcome run = corvale::test::RunProgram(arguments);
    const std::string output = run.out + run.err;
    const std::size_t at = output.find("Feature Count: ");
    return at == std::string::npos ? -1 : std::stoi(output.substr(at + 15));
}

TEST_F(CliTest, ExportsReadByGdalAndWellFormedXml) {
    // The tools come with the test command (scripts/install-deps.sh): missing is a failure.
    ASSERT_EQ(corvale::test::RunProgram({"ogrinfo", "--version"}).status, 0)
        << "ogrinfo (gdal-bin) is missing";
    ASSERT_EQ(corvale::test::RunProgram({"xmllint", "--version"}).status, 0)
        << "xmllint (libxml2-utils) is missing";
    Outcome o = Cli({"all", "--squares", "--needed", "--export", "geojson,kml,csv", "--export-dir",
                     folder_.string(), "--source-mdb", kFixtures + "demo-log.mdb", "--lst-dir",
                     folder_.string(), "--squares-dir", folder_.string()});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.err.find("WAS: 1 without a map position, left out of the GeoJSON and KML files\n"),
              std::string::npos)
        << o.err;

    struct Case {
        std::string label;
        StatusCounts drawn;   // GeoJSON and KML: entities with a map position
        StatusCounts listed;  // CSV: every entity
    };
    const Case cases[] = {
        {"WAS", {50, 0, 0}, {51, 0, 0}},  // DC has no position
        {"DXCC", {42, 0, 293}, {42, 0, 293}},
        {"IOTA", {16, 0, 1153}, {16, 0, 1153}},
        {"VUCC-50", {29, 18, 0}, {29, 18, 0}},
        {"FFMA", {12, 2, 476}, {12, 2, 476}},  // the fields EM and EN lie outside the 488
    };
    for (const Case& c : cases) {
        const std::string geojson = (folder_ / (c.label + ".geojson")).string();
        const std::string kml = (folder_ / (c.label + ".kml")).string();
        const std::string csv = (folder_ / (c.label + ".csv")).string();
        const std::pair<std::string, int> expected[] = {{"confirmed", c.drawn.confirmed},
                                                        {"worked", c.drawn.worked},
                                                        {"needed", c.drawn.needed}};
        const int listed[] = {c.listed.confirmed, c.listed.worked, c.listed.needed};
        for (std::size_t i = 0; i < 3; ++i) {
            const auto& [status, drawn] = expected[i];
            const std::string where = "status='" + status + "'";
            EXPECT_EQ(OgrFeatureCount({"-al", "-where", where, geojson}), drawn)
                << c.label << " " << status;
            EXPECT_EQ(OgrFeatureCount({kml, status}), drawn) << c.label << " " << status;
            EXPECT_EQ(OgrFeatureCount({"-al", "-where", where, csv}), listed[i])
                << c.label << " " << status;
        }
        EXPECT_EQ(corvale::test::RunProgram({"xmllint", "--noout", kml}).status, 0) << c.label;
    }
}

// Exported files join the pin files' all-or-nothing replacement.
TEST_F(CliTest, ExportThatCannotBeWrittenChangesNoFile) {
    const fs::path pins = folder_ / "WASpins.lst";
    corvale::test::WriteFile(pins, "02|-28412|3839|HI|\r\n");
    const std::string missing = (folder_ / "no-such-folder").string();
    Outcome o = Cli({"was", "--export", "csv", "--export-dir", missing, "--source-mdb",
                     kFixtures + "demo-log.mdb", "--lst-dir", folder_.string()});
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_NE(o.err.find(missing), std::string::npos) << o.err;
    EXPECT_EQ(ReadFile(pins), "02|-28412|3839|HI|\r\n");
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_))
        EXPECT_TRUE(entry.path() == pins || entry.path() == Home()) << entry.path();
}

// The width and height that a PNG file's header gives.
std::pair<int, int> PngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return {0, 0};
    const auto number = [&bytes](std::size_t at) {
        int value = 0;
        for (std::size_t i = at; i < at + 4; ++i)
            value = value * 256 + static_cast<unsigned char>(bytes[i]);
        return value;
    };
    return {number(16), number(20)};
}

// One map per award run, named as the exports are, in the format and size asked for; the
// folder is made when missing.
TEST_F(CliTest, DrawsAMapOfEachAward) {
    struct Case {
        std::string label;
        std::vector<std::string> arguments;
        std::vector<std::string> files;
        std::string format;
        std::pair<int, int> size;
    };
    const std::vector<Case> cases = {
        {"all, defaults",
         {"all", "--squares"},
         {"WAS.png", "DXCC.png", "IOTA.png", "VUCC-50.png", "FFMA.png"},
         "png",
         {1600, 800}},
        {"svg around home",
         {"vucc", "--band", "144", "--map-format", "svg", "--map-size", "800x600", "--home",
          "fn42hn"},
         {"VUCC-144.svg"},
         "svg",
         {800, 600}},
        {"small png",
         {"iota", "--map-size", "320x200", "--home", "JO"},
         {"IOTA.png"},
         "png",
         {320, 200}},
    };
    for (const Case& c : cases) {
        const fs::path maps = folder_ / c.label / "maps";
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(),
                         {"--map-dir", maps.string(), "--source-mdb", kFixtures + "demo-log.mdb",
                          "--lst-dir", folder_.string(), "--squares-dir", folder_.string()});
        Outcome o = Cli(arguments);
        ASSERT_EQ(o.status, 0) << c.label << ": " << o.err;
        EXPECT_EQ(o.err.find("QStandardPaths"), std::string::npos) << o.err;
        EXPECT_EQ(std::distance(fs::directory_iterator(maps), {}), c.files.size()) << c.label;
        for (const std::string& name : c.files) {
            const std::string bytes = ReadFile(maps / name);
            EXPECT_NE(o.out.find((maps / name).string()), std::string::npos) << o.out;
            if (c.format == "png") {
                EXPECT_EQ(PngSize(bytes), c.size) << c.label << " " << name;
            } else {
                const std::string viewBox = "viewBox=\"0 0 " + std::to_string(c.size.first) + " " +
                                            std::to_string(c.size.second) + "\"";
                EXPECT_NE(bytes.find(viewBox), std::string::npos) << c.label << " " << name;
            }
        }
    }
}

// Maps join the command's all-or-nothing replacement: a run that fails, or a map that cannot
// be written, leaves every pin file and map as it was.
TEST_F(CliTest, FailedRunChangesNoMap) {
    const fs::path maps = folder_ / "maps";
    fs::create_directory(maps);
    corvale::test::WriteFile(maps / "WAS.png", "old picture");
    corvale::test::WriteFile(folder_ / "WASpins.lst", "02|-28412|3839|HI|\r\n");
    corvale::test::WriteFile(folder_ / "a-file", "");
    struct Case {
        std::string label;
        std::string log;
        std::string mapDir;
        std::string inMessage;
    };
    const std::vector<Case> cases = {
        {"bad log", kFixtures + "truncated.mdb", maps.string(), "truncated.mdb"},
        {"map folder is a file", kFixtures + "demo-log.mdb", (folder_ / "a-file").string(),
         "a-file"},
    };
    for (const Case& c : cases) {
        Outcome o = Cli({"was", "dxcc", "--source-mdb", c.log, "--lst-dir", folder_.string(),
                         "--map-dir", c.mapDir});
        EXPECT_EQ(o.status, 1) << c.label << ": " << o.err;
        EXPECT_NE(o.err.find(c.inMessage), std::string::npos) << c.label << ": " << o.err;
        EXPECT_EQ(ReadFile(maps / "WAS.png"), "old picture") << c.label;
        EXPECT_EQ(ReadFile(folder_ / "WASpins.lst"), "02|-28412|3839|HI|\r\n") << c.label;
        EXPECT_FALSE(fs::exists(folder_ / "DXCCpins.lst")) << c.label;
        EXPECT_EQ(std::distance(fs::directory_iterator(maps), {}), 1) << c.label;
    }
}

// A bad size, format or locator is named with what is expected, before anything is read.
TEST_F(CliTest, BadMapOptionsSayWhatIsExpected) {
    struct Case {
        std::vector<std::string> options;
        std::string inMessage;
    };
    const std::vector<Case> cases = {
        {{"--map-dir", ".", "--map-size", "10x10"}, "WIDTHxHEIGHT, each 100 to 10000 pixels"},
        {{"--map-dir", ".", "--map-size", "1600"}, "WIDTHxHEIGHT"},
        {{"--map-dir", ".", "--map-size", "1600x-800"}, "WIDTHxHEIGHT"},
        {{"--map-dir", ".", "--map-size", "1600x800x2"}, "WIDTHxHEIGHT"},
        {{"--map-dir", ".", "--map-format", "pdf"}, "--map-format"},
        {{"--map-dir", ".", "--home", "ZZ99"}, "Maidenhead locator"},
        {{"--map-dir", ".", "--home", "FN4"}, "Maidenhead locator"},
        {{"--map-format", "svg"}, "--map-format requires --map-dir"},
        {{"--home", "FN42"}, "--home requires --map-dir"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"was"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        Outcome o = Cli(arguments);
        EXPECT_EQ(o.status, 2) << testing::PrintToString(c.options);
        EXPECT_NE(o.err.find(c.inMessage), std::string::npos)
            << testing::PrintToString(c.options) << ": " << o.err;
        EXPECT_TRUE(o.out.empty());
    }
}

TEST_F(CliTest, AcceptsVersionsThatReadAsSix) {
    for (const std::string log : {"version-06.mdb", "version-blank6.mdb", "version-6.1.mdb"}) {
        Outcome o = Cli({"dxcc", "--source-mdb", kFixtures + log, "--lst-dir", folder_.string()});
        EXPECT_EQ(o.status, 0) << log << ": " << o.err;
    }
}

TEST_F(CliTest, WrongUsageExitsTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"wac"},
        {"was", "--band", "70"},
        {"was", "--no-such-option"},
        {"vucc", "--band"},
        {"was", "--export", "kml"},
        {"was", "--export", "pdf", "--export-dir", "."},
        {"was", "--export-dir", "."},
    };
    for (const auto& arguments : cases) {
        Outcome o = Cli(arguments);
        EXPECT_EQ(o.status, 2) << testing::PrintToString(arguments);
        EXPECT_NE(o.err.find("Usage"), std::string::npos) << o.err;
    }
    EXPECT_EQ(Cli({"--help"}).status, 0);
}

const std::string kAdif = kFixtures + "adif/";

// Every award from an ADIF log, told by its content; files and messages checked by hand against
// the rows of its .tsv.
TEST_F(CliTest, WritesTheFilesOfAnAdifLog) {
    const std::string log = kAdif + "sample-lotw.adi";
    Outcome o = Cli({"all", "--squares", "--log", log, "--lst-dir", folder_.string(),
                     "--squares-dir", folder_.string()});
    ASSERT_EQ(o.status, 0) << o.err;
    const fs::path expected = kExpected / "adif-lotw";
    EXPECT_EQ(ReplaceAll(o.out, folder_.string(), "OUT"), ReadFile(expected / "summary.txt"));
    EXPECT_EQ(ReplaceAll(o.err, log, "LOG"), ReadFile(expected / "warnings.txt"));
    for (const auto& entry : fs::directory_iterator(expected)) {
        if (!entry.path().string().ends_with(".txt")) {
            EXPECT_EQ(ReadFile(folder_ / entry.path().filename()), ReadFile(entry.path()))
                << entry.path().filename();
        }
    }

    // The other two samples, and --source-mdb naming an ADIF log too.
    for (const std::string sample : {"sample-plain.adi", "sample-adx.adx"}) {
        o = Cli({"all", "--squares", "--source-mdb", kAdif + sample, "--lst-dir", folder_.string(),
                 "--squares-dir", folder_.string(), "--verbose"});
        EXPECT_EQ(o.status, 0) << sample << ": " << o.err;
        EXPECT_NE(o.err.find("300 records read"), std::string::npos) << sample << ": " << o.err;
        EXPECT_NE(o.err.find("  records without an entity:"), std::string::npos) << o.err;
    }
}

// The contacts of a DXBase log and its ADIF export give the same files. DXBase left the third
// contact without an entity; the ADIF reader would place its call, so no country file is given.
TEST_F(CliTest, AdifExportGivesTheFilesOfItsDxbaseLog) {
    const fs::path fromMdb = folder_ / "mdb", fromAdif = folder_ / "adif";
    const fs::path noCountries = folder_ / "cty.csv";
    std::ofstream(noCountries).close();
    for (const std::string band : {"50", "144", "222", "432"}) {
        for (const auto& [out, log] : {std::pair{fromMdb, kFixtures + "version-06.mdb"},
                                       std::pair{fromAdif, kAdif + "version-06-export.adi"}}) {
            fs::create_directories(out);
            Outcome o =
                Cli({"all", "--squares", "--band", band, "--log", log, "--lst-dir", out.string(),
                     "--squares-dir", out.string(), "--country-file", noCountries.string()});
            ASSERT_EQ(o.status, 0) << log << ": " << o.err;
        }
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(fromMdb)) {
            ++files;
            EXPECT_EQ(ReadFile(fromAdif / entry.path().filename()), ReadFile(entry.path()))
                << band << "/" << entry.path().filename();
        }
        EXPECT_EQ(files, 9u);
    }
}

TEST_F(CliTest, ConfirmationsThatCount) {
    struct Case {
        const char* name;
        std::vector<std::string> option;
        const char* summary;
    };
    const std::vector<Case> cases = {
        {"all by default", {}, "DXCC: 35 worked only, 36 worked and confirmed"},
        {"all named",
         {"--confirmations", "eqsl,lotw,card"},
         "DXCC: 35 worked only, 36 worked and confirmed"},
        {"card", {"--confirmations", "card"}, "DXCC: 52 worked only, 19 worked and confirmed"},
        {"lotw and eqsl",
         {"--confirmations", "lotw,eqsl"},
         "DXCC: 41 worked only, 30 worked and confirmed"},
        {"none", {"--confirmations", ""}, "DXCC: 71 worked only, 0 worked and confirmed"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"dxcc", "--log", kAdif + "sample-plain.adi",
                                              "--lst-dir", folder_.string()};
        arguments.insert(arguments.end(), c.option.begin(), c.option.end());
        Outcome o = Cli(arguments);
        EXPECT_EQ(o.status, 0) << c.name << ": " << o.err;
        EXPECT_NE(o.out.find(c.summary), std::string::npos) << c.name << ": " << o.out;
    }
    EXPECT_EQ(Cli({"dxcc", "--confirmations", "qrz"}).status, 2);
}

// Each bad ADIF log: exit status 1, one sentence naming the file (and the place), and no file
// changed.
TEST_F(CliTest, BadAdifChangesNothing) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string inMessage;
    };
    const std::vector<Case> cases = {
        {"empty", "", "empty"},
        {"neither kind", "QSO with W1AW on 20 m\n", "neither an Access database nor an ADIF"},
        {"value past the end", "<EOH><CALL:4>W1AW<EOR><CALL:400>K1", "byte 22 (record 2)"},
        {"ADX not well-formed", "<?xml version=\"1.0\"?><ADX><RECORDS>", "not well-formed XML"},
        {"ADX not in its encoding", "<?xml version=\"1.0\"?><ADX><RECORDS><RECORD><NAME>S\xF8ren",
         "not well-formed XML"},
    };
    const fs::path pins = folder_ / "WASpins.lst";
    const fs::path log = folder_ / "log.adi";
    for (const Case& c : cases) {
        std::ofstream(pins, std::ios::binary) << "02|-28412|3839|HI|\r\n";
        std::ofstream(log, std::ios::binary) << c.bytes;
        Outcome o = Cli({"was", "dxcc", "--log", log.string(), "--lst-dir", folder_.string()});
        EXPECT_EQ(o.status, 1) << c.name << ": " << o.err;
        EXPECT_NE(o.err.find(log.string()), std::string::npos) << c.name << ": " << o.err;
        EXPECT_NE(o.err.find(c.inMessage), std::string::npos) << c.name << ": " << o.err;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << c.name << ": " << o.err;
        EXPECT_EQ(ReadFile(pins), "02|-28412|3839|HI|\r\n") << c.name;
        EXPECT_FALSE(fs::exists(folder_ / "DXCCpins.lst")) << c.name;
    }
}

// A Wine prefix in which DXBase (with the demo log) and DX Atlas are installed as their
// installers leave them; the names in the settings differ in case from those on the disk.
void MakeWinePrefix(const fs::path& prefix, bool withDxAtlas) {
    corvale::test::MakeWinePrefix(prefix);
    corvale::test::WriteDxBaseIni(prefix, "C:\\dxbase\\DXBASE.MDB", "C:\\DXBase");
    fs::create_directories(prefix / "drive_c/DXBase");
    fs::copy_file(kFixtures + "demo-log.mdb", prefix / "drive_c/DXBase/Dxbase.mdb");
    fs::create_directories(prefix / "drive_c/Program Files (x86)/DX Atlas/Pins");
    fs::create_directories(prefix / "drive_c/Program Files (x86)/DX Atlas/Squares");
    if (withDxAtlas)
        corvale::test::RegisterDxAtlas(prefix, "C:\\Program Files (x86)\\DX Atlas\\");
    else
        corvale::test::WriteFile(prefix / "system.reg", "WINE REGISTRY Version 2\n");
}

TEST_F(CliTest, FindsTheLogAndFoldersInTheWinePrefix) {
    const fs::path prefix = folder_ / "wine";
    MakeWinePrefix(prefix, true);
    Outcome o = Cli({"all", "--squares", "--wine-prefix", prefix.string()});
    ASSERT_EQ(o.status, 0) << o.err;
    const fs::path atlas = prefix / "drive_c/Program Files (x86)/DX Atlas";
    EXPECT_EQ(ReadFile(atlas / "Pins/WASpins.lst"), ReadFile(kExpected / "band-50/WASpins.lst"));
    EXPECT_EQ(ReadFile(atlas / "Squares/FFMAsquares.cfm"),
              ReadFile(kExpected / "band-50/FFMAsquares.cfm"));
}

TEST_F(CliTest, SaysWhichSettingIsMissing) {
    const fs::path prefix = folder_ / "wine";
    MakeWinePrefix(prefix, false);
    fs::remove(prefix / "drive_c/windows/Dxb2007.ini");
    Outcome o = Cli({"was", "--lst-dir", folder_.string(), "--wine-prefix", prefix.string()});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("DATAPATH"), std::string::npos) << o.err;
    // Without a Wine prefix: where it was looked for, and how to name another.
    o = Cli({"was", "--lst-dir", folder_.string()});
    EXPECT_EQ(o.status, 1);
    for (const std::string& text :
         {(Home() / ".wine").string(), std::string("--wine-prefix"), std::string("WINEPREFIX")}) {
        EXPECT_NE(o.err.find(text), std::string::npos) << o.err;
    }
}

// Without DX Atlas the files go to Corvale's own folders in the user's data folder, and the
// command says where.
TEST_F(CliTest, WritesIntoItsOwnFoldersWithoutDxAtlas) {
    struct Case {
        std::string name;
        bool winePrefix;          // a prefix with DXBase and without DX Atlas; else none at all
        std::string xdgDataHome;  // "" for none
        fs::path ownFolder;
        std::vector<std::string> inNotice;
    };
    const std::string wine = (Home() / ".wine").string();
    const std::vector<Case> cases = {
        {"empty home, no prefix",
         false,
         "",
         Home() / ".local/share/corvale",
         {wine, "--wine-prefix", "WINEPREFIX"}},
        {"XDG_DATA_HOME", false, (folder_ / "xdg").string(), folder_ / "xdg/corvale", {wine}},
        {"prefix without DX Atlas", true, "", Home() / ".local/share/corvale", {wine}},
    };
    for (const Case& c : cases) {
        fs::remove_all(Home());
        if (c.winePrefix)
            MakeWinePrefix(wine, false);
        std::vector<std::string> arguments = {"was", "ffma", "--squares"};
        if (!c.winePrefix)
            arguments.insert(arguments.end(), {"--source-mdb", kFixtures + "demo-log.mdb"});
        std::map<std::string, std::string> environment;
        if (!c.xdgDataHome.empty())
            environment["XDG_DATA_HOME"] = c.xdgDataHome;
        Outcome o = Cli(arguments, environment);
        ASSERT_EQ(o.status, 0) << c.name << ": " << o.err;
        const fs::path pins = c.ownFolder / "Pins/WASpins.lst";
        EXPECT_EQ(ReadFile(pins), ReadFile(kExpected / "band-50/WASpins.lst")) << c.name;
        EXPECT_EQ(ReadFile(c.ownFolder / "Squares/FFMAsquares.cfm"),
                  ReadFile(kExpected / "band-50/FFMAsquares.cfm"))
            << c.name;
        EXPECT_NE(o.out.find("-> " + pins.string()), std::string::npos) << c.name << ": " << o.out;
        EXPECT_NE(o.err.find(c.ownFolder.string()), std::string::npos) << c.name << ": " << o.err;
        for (const std::string& text : c.inNotice)
            EXPECT_NE(o.err.find(text), std::string::npos) << c.name << ": " << o.err;
    }
}

}  // namespace
