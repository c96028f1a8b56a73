#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace corvale {

// corvale [--wine-prefix DIR] [--log FILE] [--source-mdb PATH --lst-dir DIR] [--screenshot FILE]
struct CCorvaleCommandLine {
    QString winePrefix;  // empty: $WINEPREFIX, else ~/.wine
    // The log (either kind). Given, the paths dialog is skipped: with lstDir the pin and squares
    // files go there, without it the dialog's other paths are taken as it would fill them.
    QString sourceMdb;
    QString lstDir;
    // After OK, every award is run (WAS last), the main window is saved there as a PNG and the
    // program ends.
    QString screenshotFile;
    // --help or --version: the answer went to standard output; nothing else to do.
    bool helpShown = false;

    bool SkipsPathsDialog() const { return !sourceMdb.isEmpty(); }
};

// The parsed command line, or nothing after printing the reason and the usage on standard error.
std::optional<CCorvaleCommandLine> ParseCommandLine(const QStringList& arguments);

// Whether the arguments ask for --help or --version, which are answered before the window
// system is opened, so that they work without a display.
bool AsksForHelpOrVersion(int argc, const char* const* argv);

}  // namespace corvale
