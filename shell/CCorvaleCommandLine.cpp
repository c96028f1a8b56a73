#include "shell/CCorvaleCommandLine.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

#include "res/CorvaleVersion.h"

namespace corvale {

std::optional<CCorvaleCommandLine> ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Pin files for DX Atlas from a DXBase log or an ADIF log.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption winePrefix(
        "wine-prefix",
        "Where DXBase's and DX Atlas's settings are read (default: $WINEPREFIX, "
        "else ~/.wine).",
        "DIR");
    const QCommandLineOption sourceMdb(
        "source-mdb", "The DXBase source QSO database; with --lst-dir, skips the paths dialog.",
        "PATH");
    const QCommandLineOption log(
        "log",
        "The log to read: a DXBase database or an ADIF file (.adi or .adx), told by its "
        "content; skips the paths dialog.",
        "FILE");
    const QCommandLineOption lstDir("lst-dir", "Folder of the pin and squares files.", "DIR");
    const QCommandLineOption screenshot(
        "screenshot",
        "Once the paths are set, run every award (WAS last), save the main window as a PNG "
        "picture and end.",
        "FILE");
    parser.addOptions({winePrefix, sourceMdb, log, lstDir, screenshot});

    const auto usage = [&parser](const QString& reason) -> std::optional<CCorvaleCommandLine> {
        std::fprintf(stderr, "corvale: %s\n\n", qPrintable(reason));
        std::fputs(qPrintable(parser.helpText()), stderr);
        return std::nullopt;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    CCorvaleCommandLine commandLine;
    if (parser.isSet("help") || parser.isSet("help-all")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        commandLine.helpShown = true;
        return commandLine;
    }
    if (parser.isSet("version")) {
        std::fputs("corvale " CORVALE_VERSION "\n", stdout);
        commandLine.helpShown = true;
        return commandLine;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage("unexpected argument: " + parser.positionalArguments().first());
    if (parser.isSet(sourceMdb) && !parser.isSet(lstDir))
        return usage("--source-mdb and --lst-dir go together");
    if (parser.isSet(lstDir) && !parser.isSet(sourceMdb) && !parser.isSet(log))
        return usage("--lst-dir needs --log or --source-mdb");
    if (parser.isSet(sourceMdb) && parser.isSet(log))
        return usage("--log and --source-mdb name the same thing; give one");

    commandLine.winePrefix = parser.value(winePrefix);
    commandLine.sourceMdb = parser.value(parser.isSet(log) ? log : sourceMdb);
    commandLine.lstDir = parser.value(lstDir);
    // A folder given here is a folder: the file names are joined to it with a separator.
    if (!commandLine.lstDir.isEmpty() && !commandLine.lstDir.endsWith('/'))
        commandLine.lstDir += '/';
    commandLine.screenshotFile = parser.value(screenshot);
    return commandLine;
}

bool AsksForHelpOrVersion(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

}  // namespace corvale
