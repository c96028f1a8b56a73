#pragma once

// The string table of the desktop program: captions and messages as the user reads them.
namespace corvale::strings {

// The application title: main window caption, document title and message box caption.
inline constexpr char kAppTitle[] = "Corvale version 1.02";
inline constexpr char kVersionError[] = "DXbase mdb file version error";
inline constexpr char kDxAtlasNotFound[] =
    "DX Atlas's installation folder was not found: the registry has no entry "
    "\"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "DX Atlas_is1\". The pin and squares paths below have no folder; over-type them.";
inline constexpr char kNoMapPosition[] = "No map position for: ";
inline constexpr char kRunFailed[] = "The run failed; no file was changed.";
inline constexpr char kRunStopped[] = "The run was stopped; no file was changed.";
inline constexpr char kReadingLog[] = "Reading the log: %1 records";
inline constexpr char kWalkingLog[] = "Walking the log: record %1 of %2";
inline constexpr char kOpenLogTitle[] = "Open Log";
inline constexpr char kOpenLogFilter[] =
    "Logs (*.mdb *.adi *.adif *.adx *.ADI *.ADX *.MDB);;All files (*)";

}  // namespace corvale::strings
