#include <QApplication>
#include <QIcon>
#include <optional>
#include <string>

#include "shell/CCorvaleApp.h"
#include "shell/CCorvaleCommandLine.h"
#include "shell/CMainFrame.h"
#include "shell/CScreenshot.h"
#include "shell/WinePrefixSettings.h"

int main(int argc, char* argv[]) {
    if (corvale::AsksForHelpOrVersion(argc, argv)) {
        const QCoreApplication textOnly(argc, argv);
        return corvale::ParseCommandLine(QCoreApplication::arguments()) ? 0 : 2;
    }
    QApplication application(argc, argv);
    // The framework's per-user settings key; Corvale keeps only its recent-file list there.
    QApplication::setApplicationName("Corvale ver 1.0");
    QApplication::setWindowIcon(QIcon(":/corvale.svg"));
    // The installed desktop entry, which the window system takes the program's name and icon from.
    QApplication::setDesktopFileName("org.corvale.Corvale");

    const std::optional<corvale::CCorvaleCommandLine> commandLine =
        corvale::ParseCommandLine(QApplication::arguments());
    if (!commandLine)
        return 2;
    if (commandLine->helpShown)
        return 0;

    std::optional<std::string> prefixOption;
    if (!commandLine->winePrefix.isEmpty())
        prefixOption = commandLine->winePrefix.toStdString();
    const corvale::WinePrefixSettings settings(
        corvale::WinePrefixSettings::FindPrefix(prefixOption));

    corvale::CCorvaleApp theApp(settings);
    if (!theApp.InitInstance(*commandLine))
        return 1;
    if (!commandLine->screenshotFile.isEmpty()) {
        corvale::RunAwardsThenSaveScreenshot(*theApp.GetMainWnd(), commandLine->screenshotFile,
                                             [](bool saved) { QApplication::exit(saved ? 0 : 1); });
    }
    return QApplication::exec();
}
