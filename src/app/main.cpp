#include "app/DialogLauncher.h"
#include "board/BoardView.h"
#include "board/MainWindow.h"
#include "platform/FirstPaintReport.h"
#include "platform/QtPlatform.h"
#include "platform/UserDataFolder.h"
#include "roster/CodePage.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "ui/AppStyle.h"
#include "ui/Caption.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTranslator>

int main(int argc, char* argv[]) {
    // The program places its own windows and moves the pointer, which Wayland does not allow:
    // run through XWayland unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zeltomil"));
    // Ending the program is decided by the windows themselves (see MainWindow and dialogs).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new zel::AppStyle(QApplication::style()->name()));

    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    if (!zel::codePageAvailable()) {
        QMessageBox::critical(nullptr, zel::kCaption,
                              QStringLiteral("Shift-JIS (CP932) の変換が使えないため、"
                                             "データファイルを読み書きできません。"));
        return 1;
    }

    // The desktop entry starts the program with --from-menu: it then works in a per-user folder.
    if (QApplication::arguments().contains(QStringLiteral("--from-menu"))) {
        const QString folder = zel::prepareUserDataFolder(
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            zel::findSampleFolder(QApplication::applicationDirPath()));
        if (!folder.isEmpty())
            QDir::setCurrent(folder);
    }

    static zel::RosterState state; // the one roster record of the process
    zel::QtPlatform platform;
    zel::RosterFiles files(platform.files(), QDir::currentPath());
    zel::MainWindow window(zel::AppContext{state, files, platform}, zel::createDialog);
    zel::FirstPaintReport firstPaint;
    if (zel::FirstPaintReport::wanted())
        window.board()->installEventFilter(&firstPaint);
    window.load();
    return app.exec();
}
