// Linked into every GUI test: before any test runs, the user's data folder and the framework's
// settings point into a temporary folder, so that no test reads or changes the real user's.
#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace {

void UseTemporaryUserFolders() {
    static QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.filePath("config"));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(UseTemporaryUserFolders)
