#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <map>

#include "map/Maidenhead.h"
#include "res/CorvaleVersion.h"

namespace corvale {

namespace {

const std::map<std::string, std::vector<Award>> kAwardWords = {
    {"was", {Award::Was}},   {"dxcc", {Award::Dxcc}},
    {"iota", {Award::Iota}}, {"vucc", {Award::Vucc}},
    {"ffma", {Award::Ffma}}, {"all", {std::begin(kAllAwards), std::end(kAllAwards)}},
};

const std::map<std::string, ExportFormat> kExportWords = {
    {"geojson", ExportFormat::GeoJson}, {"kml", ExportFormat::Kml}, {"csv", ExportFormat::Csv}};

// The bounds of a map's sides, in pixels.
constexpr int kSmallestMapSide = 100;
constexpr int kLargestMapSide = 10000;

// "1600x800" within the bounds; false for anything else.
bool ParseMapSize(const std::string& text, int& width, int& height) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos)
        return false;
    const auto side = [](std::string_view digits, int& value) {
        const char* end = digits.data() + digits.size();
        const auto [stop, error] = std::from_chars(digits.data(), end, value);
        return !digits.empty() && error == std::errc() && stop == end &&
               value >= kSmallestMapSide && value <= kLargestMapSide;
    };
    const std::string_view whole(text);
    return side(whole.substr(0, cross), width) && side(whole.substr(cross + 1), height);
}

template <typename Item>
void AddOnce(std::vector<Item>& items, Item item) {
    if (std::find(items.begin(), items.end(), item) == items.end())
        items.push_back(item);
}

}  // namespace

CliParse ParseCommandLine(int argc, const char* const* argv) {
    CLI::App app{"Writes DX Atlas pin files (and squares files) from a DXBase log or an ADIF log.",
                 "corvale-cli"};
    app.set_version_flag("--version", "corvale-cli " CORVALE_VERSION);
    CliOptions options;
    std::vector<std::string> words, exportWords;
    std::string sourceMdb, lstDir, squaresDir, winePrefix, exportDir, mapDir, mapFormat, mapSize,
        home;
    app.add_option("AWARD", words, "was dxcc iota vucc ffma, or all")
        ->required()
        ->check(CLI::IsMember({"was", "dxcc", "iota", "vucc", "ffma", "all"}));
    auto* source = app.add_option("--log,--source-mdb", sourceMdb,
                                  "the log: a DXBase database or an ADIF file (.adi or .adx), "
                                  "told by its content (default: DATAPATH from Dxb2007.ini)");
    auto* lst = app.add_option("--lst-dir", lstDir,
                               "folder of the pin files (default: DX Atlas's Pins folder, else "
                               "~/.local/share/corvale/Pins)");
    app.add_flag("--squares", options.squares, "also write the squares files of vucc and ffma");
    auto* squares =
        app.add_option("--squares-dir", squaresDir,
                       "folder of the squares files (default: DX Atlas's Squares folder, "
                       "else ~/.local/share/corvale/Squares)");
    app.add_option("--band", options.band, "the VUCC band in MHz (default 50)")
        ->check(CLI::IsMember({50, 144, 222, 432}));
    auto* prefix = app.add_option("--wine-prefix", winePrefix,
                                  "where DXBase's and DX Atlas's settings are read (default: "
                                  "$WINEPREFIX, else ~/.wine)");
    app.add_flag("--json", options.json, "print the summary as JSON");
    app.add_flag("--verbose", options.verbose,
                 "also print the locator conversions' diagnostic lines and the numbers of the "
                 "ADIF records without a date or an entity (standard error)");
    app.add_flag("--needed", options.needed,
                 "after each award's summary line, list what it still needs");
    auto* exports = app.add_option("--export", exportWords,
                                   "also write each award's entities as geojson, kml and/or csv "
                                   "(comma-separated)")
                        ->delimiter(',')
                        ->check(CLI::IsMember({"geojson", "kml", "csv"}));
    auto* exportFolder =
        app.add_option("--export-dir", exportDir, "folder of the exported files (WAS.geojson ...)");
    exports->needs(exportFolder);
    exportFolder->needs(exports);
    std::vector<std::string> confirmations;
    auto* confirmationsOption =
        app.add_option("--confirmations", confirmations,
                       "the confirmations of an ADIF log that count: card, lotw, eqsl, "
                       "comma-separated (default: all three; \"\" for none)")
            ->delimiter(',')
            ->check(CLI::IsMember({"card", "lotw", "eqsl", ""}));
    std::string countryFile;
    auto* countryFileOption = app.add_option(
        "--country-file", countryFile,
        std::string("the country file that places the calls of ADIF records without a DXCC "
                    "field (default: ") +
            kDefaultCountryFile + ", of Debian's hamradio-files)");
    auto* mapFolder = app.add_option("--map-dir", mapDir,
                                     "also draw a map of each award into this folder (WAS.png, "
                                     "VUCC-144.png ...)");
    app.add_option("--map-format", mapFormat, "png or svg (default png)")
        ->check(CLI::IsMember({"png", "svg"}))
        ->needs(mapFolder);
    app.add_option("--map-size", mapSize, "the map's width and height in pixels (default 1600x800)")
        ->check(
            [&options](const std::string& text) -> std::string {
                if (ParseMapSize(text, options.mapWidth, options.mapHeight))
                    return {};
                return "expected WIDTHxHEIGHT, each " + std::to_string(kSmallestMapSide) + " to " +
                       std::to_string(kLargestMapSide) + " pixels, e.g. 1600x800";
            },
            "WIDTHxHEIGHT")
        ->needs(mapFolder);
    app.add_option("--home", home,
                   "your locator (FN42, FN42hn): the map becomes azimuthal equidistant around it")
        ->check(
            [](const std::string& text) -> std::string {
                if (LocatorCentre(text))
                    return {};
                return "expected a Maidenhead locator of 2, 4 or 6 characters, e.g. FN42";
            },
            "GRID")
        ->needs(mapFolder);

    CliParse parse;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        parse.exitCode = e.get_exit_code() == 0 ? 0 : 2;
        parse.message = parse.exitCode == 0 ? app.help() : e.what();
        if (dynamic_cast<const CLI::CallForVersion*>(&e) != nullptr) {
            parse.message = std::string(e.what()) + "\n";
        } else if (parse.exitCode != 0) {
            parse.message += "\n" + app.help();
        }
        return parse;
    }
    for (const std::string& word : words) {
        for (Award award : kAwardWords.at(word))
            AddOnce(options.awards, award);
    }
    for (const std::string& word : exportWords)
        AddOnce(options.exports, kExportWords.at(word));
    if (*exportFolder)
        options.exportDir = exportDir;
    if (*mapFolder)
        options.mapDir = mapDir;
    if (!mapFormat.empty())
        options.mapFormat = *MapFormatOfWord(mapFormat);
    if (!home.empty())
        options.home = LocatorCentre(home);
    if (*source)
        options.sourceMdb = sourceMdb;
    if (*lst)
        options.lstDir = lstDir;
    if (*squares)
        options.squaresDir = squaresDir;
    if (*prefix)
        options.winePrefix = winePrefix;
    if (*confirmationsOption) {
        const auto named = [&confirmations](const char* word) {
            return std::find(confirmations.begin(), confirmations.end(), word) !=
                   confirmations.end();
        };
        options.confirmations = {named("card"), named("lotw"), named("eqsl")};
    }
    if (*countryFileOption)
        options.countryFile = countryFile;
    parse.options = std::move(options);
    return parse;
}

}  // namespace corvale
