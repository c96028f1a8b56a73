#pragma once

#include "res/CorvaleVersion.h"

// The string table of the desktop program: captions and messages as the user reads them.
namespace corvale::strings {

// The application title: main window caption, document title and message box caption.
inline constexpr char kAppTitle[] = "Corvale version " CORVALE_VERSION;
// The framework's per-user settings key, under which the recent-file list is kept.
inline constexpr char kSettingsKey[] = "Corvale ver 1.0";
inline constexpr char kVersionError[] = "DXbase mdb file version error";
// Follows the reason why DX Atlas's folder cannot be used.
inline constexpr char kOvertypeDxAtlasPaths[] = " Over-type the pin and squares paths.";
// %1: why DX Atlas's folder was not found; %2 and %3: Corvale's own folders for the pin and the
// squares files.
inline constexpr char kDxAtlasNotFound[] =
    "%1 The pin files go to %2 and the squares files to %3; over-type the paths below to choose "
    "other folders.";
// %1: the Wine prefix looked for; %2 and %3: Corvale's own folders.
inline constexpr char kNoWinePrefix[] =
    "There is no Wine prefix at %1, so DXBase's and DX Atlas's settings were not read. To read "
    "another prefix, start Corvale with --wine-prefix DIR or set WINEPREFIX.\n\nThe pin files "
    "go to %2 and the squares files to %3; over-type the paths below to choose other folders, "
    "and browse to your log.";
// The file dialogs of the paths dialog's Browse buttons.
inline constexpr char kBrowseLog[] = "Choose the log";
inline constexpr char kLogFilter[] =
    "Logs (*.mdb *.accdb *.adi *.adif *.adx);;Access databases (*.mdb *.accdb);;"
    "ADIF logs (*.adi *.adif *.adx);;All files (*)";
inline constexpr char kBrowseRefdata[] = "Choose DXBase's Refdata database";
inline constexpr char kRefdataFilter[] = "Access databases (*.mdb *.accdb);;All files (*)";
inline constexpr char kBrowseLstDir[] = "Choose the folder of the pin files";
inline constexpr char kBrowseWkdPath[] = "Choose the worked squares file";
inline constexpr char kWkdFilter[] = "Worked squares (*.wkd);;All files (*)";
inline constexpr char kBrowseCfmPath[] = "Choose the confirmed squares file";
inline constexpr char kCfmFilter[] = "Confirmed squares (*.cfm);;All files (*)";
inline constexpr char kNoMapPosition[] = "No map position for: ";
inline constexpr char kRunFailed[] = "The run failed; no file was changed.";
inline constexpr char kRunStopped[] = "The run was stopped; no file was changed.";
inline constexpr char kReadingLog[] = "Reading the log: %1 records";
inline constexpr char kWalkingLog[] = "Walking the log: record %1 of %2";
inline constexpr char kOpenLogTitle[] = "Open Log";

}  // namespace corvale::strings
