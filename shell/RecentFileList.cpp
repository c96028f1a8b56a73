#include "shell/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

#include "res/CorvaleStrings.h"

namespace corvale {

namespace {

constexpr int kRecentFiles = 4;
constexpr char kGroup[] = "Recent File List";

// The framework's settings: under the registry key, in a profile named after the application.
QSettings FrameworkSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, strings::kSettingsKey,
                     strings::kAppTitle);
}

QString EntryKey(int index) {
    return QString("%1/File%2").arg(kGroup).arg(index + 1);
}

}  // namespace

void AddToRecentFileList(const QString& file) {
    QStringList files = RecentFileList();
    const QString absolute = QFileInfo(file).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    QSettings settings = FrameworkSettings();
    for (int index = 0; index < kRecentFiles; ++index) {
        if (index < files.size())
            settings.setValue(EntryKey(index), files.at(index));
        else
            settings.remove(EntryKey(index));
    }
}

QStringList RecentFileList() {
    const QSettings settings = FrameworkSettings();
    QStringList files;
    for (int index = 0; index < kRecentFiles; ++index) {
        const QString file = settings.value(EntryKey(index)).toString();
        if (!file.isEmpty())
            files.append(file);
    }
    return files;
}

}  // namespace corvale
