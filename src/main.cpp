#include "board/BoardView.h"
#include "board/CommandLine.h"
#include "board/ExportCommand.h"
#include "board/MainWindow.h"
#include "platform/FirstPaintReport.h"
#include "platform/QtPlatform.h"
#include "platform/UserDataFolder.h"
#include "roster/CodePage.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>

int main(int argc, char* argv[]) {
    // --help, --version and a wrong command line end here, without a display.
    zel::CommandLine command;
    if (const std::optional<int> exitCode = zel::handleCommandLine(argc, argv, command))
        return *exitCode;
    // An export draws without a window: it needs no display and shows nothing.
    if (command.action == zel::CommandLine::Action::Export)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The program places its own windows and moves the pointer, which Wayland does not allow:
    // run through XWayland unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zeltomil"));
    // Ending the program is decided by the windows themselves (see MainWindow and dialogs).
    QApplication::setQuitOnLastWindowClosed(false);

    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    if (!zel::codePageAvailable()) {
        if (command.action == zel::CommandLine::Action::Export) {
            std::fputs("zeltomil: Shift-JIS (CP932) の変換が使えません。\n", stderr);
            return 1;
        }
        QMessageBox::critical(nullptr, QStringLiteral("ゼルトミル"),
                              QStringLiteral("Shift-JIS (CP932) の変換が使えないため、"
                                             "データファイルを読み書きできません。"));
        return 1;
    }

    // The desktop entry starts the program with --from-menu: it then works in a per-user folder.
    if (command.fromMenu) {
        const QString folder = zel::prepareUserDataFolder(
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            zel::findSampleFolder(QApplication::applicationDirPath()));
        if (!folder.isEmpty())
            QDir::setCurrent(folder);
    }

    static zel::RosterState state; // the one roster record of the process
    zel::QtPlatform platform;
    if (command.action == zel::CommandLine::Action::Export)
        return zel::runExportCommand(command, platform.files());
    zel::RosterFiles files(platform.files(), QDir::currentPath());
    zel::MainWindow window(zel::AppContext{state, files, platform});
    zel::FirstPaintReport firstPaint;
    if (zel::FirstPaintReport::wanted())
        window.board()->installEventFilter(&firstPaint);
    window.load();
    return app.exec();
}
