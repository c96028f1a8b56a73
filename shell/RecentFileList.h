#pragma once

#include <QString>
#include <QStringList>

namespace corvale {

// The framework's recent-file list: the four logs last opened, newest first, kept in the
// per-user settings under the key "Corvale ver 1.0" (group "Recent File List", File1 to File4).
// It is the one thing Corvale remembers between starts.

// Every place that opens a log calls this once the log has opened: the file goes to the top of
// the list (as an absolute path), once, and the oldest beyond four drops off.
void AddToRecentFileList(const QString& file);

// The list, newest first.
QStringList RecentFileList();

}  // namespace corvale
