#pragma once

#include "res/CorvaleVersion.h"

// The string table of the desktop program: captions and messages as the user reads them.
namespace corvale::strings {

// The application title: main window caption, document title and message box caption.
inline constexpr char kAppTitle[] = "Corvale version " CORVALE_VERSION;
inline constexpr char kVersionError[] = "DXbase mdb file version error";
// Follows the reason why DX Atlas's folder was not found or cannot be used.
inline constexpr char kOvertypeDxAtlasPaths[] = " Over-type the pin and squares paths.";
inline constexpr char kNoMapPosition[] = "No map position for: ";
inline constexpr char kRunFailed[] = "The run failed; no file was changed.";
inline constexpr char kRunStopped[] = "The run was stopped; no file was changed.";
inline constexpr char kReadingLog[] = "Reading the log: %1 records";
inline constexpr char kWalkingLog[] = "Walking the log: record %1 of %2";

}  // namespace corvale::strings
