#include "app/CommandLine.h"
#include "app/DialogLauncher.h"
#include "app/ExportCommand.h"
#include "board/BoardView.h"
#include "board/MainWindow.h"
#include "platform/AfterFirstPaint.h"
#include "platform/FirstPaintReport.h"
#include "platform/NoDisplayGuard.h"
#include "platform/QtPlatform.h"
#include "platform/StartPosition.h"
#include "platform/UserDataFolder.h"
#include "roster/CodePage.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "ui/AppStyle.h"
#include "ui/Caption.h"
#include "units/Numbers.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <optional>

namespace {
// The program's icon, as the desktop entry shows it: every window without its own carries it.
QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        // Read as PNG and nothing else: a reader that may find the format itself loads every
        // image plugin (GIF, ICO, JPEG and its library) to ask each of them first.
        QImageReader reader(QStringLiteral(":/icons/zeltomil-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        if (QImage image = reader.read(); !image.isNull())
            icon.addPixmap(QPixmap::fromImage(std::move(image)));
    }
    return icon;
}

QList<QRect> availableScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}
} // namespace

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

    // Without a display Qt would abort here with a core dump: say so and end instead.
    std::optional<zel::NoDisplayGuard> noDisplay(std::in_place);
    QApplication app(argc, argv);
    noDisplay.reset();
    QApplication::setApplicationName(QStringLiteral("zeltomil"));
#ifdef ZELTOMIL_APP_ID
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELTOMIL_APP_ID));
#endif
    // Ending the program is decided by the windows themselves (see MainWindow and dialogs).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new zel::AppStyle(QApplication::style()->name()));

    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    if (!zel::codePageAvailable()) {
        if (command.action == zel::CommandLine::Action::Export) {
            std::fputs("zeltomil: Shift-JIS (CP932) の変換が使えません。\n", stderr);
            return 1;
        }
        QApplication::setWindowIcon(programIcon());
        QMessageBox::critical(nullptr, zel::kCaption,
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
    zel::MainWindow window(zel::AppContext{state, files, platform}, zel::createDialog);
    window.history().persistIn(zel::historyFolder());
    // bench/idle.sh measures the board idle with and without its watch on the files.
    if (qEnvironmentVariableIsSet("ZELTOMIL_NO_FOLDER_WATCH"))
        window.folderWatch().setEnabled(false);
    // Decoding the icon's six sizes is not needed for the board's first picture: the window
    // manager gets the icon just after it. (Qt's translation is not put off so: installing it
    // repaints every widget.)
    new zel::AfterFirstPaint(window.board(), [] { QApplication::setWindowIcon(programIcon()); });
    zel::FirstPaintReport firstPaint;
    if (zel::FirstPaintReport::wanted())
        window.board()->installEventFilter(&firstPaint);

    // The board opens where it stood when the program last ended. While it runs, the roster
    // record keeps the board's place (in twips) across its dialogs.
    QSettings settings(zel::settingsFilePath(), QSettings::IniFormat);
    const zel::TwipScale scale = window.scale();
    if (const auto corner =
            zel::usableStartCorner(zel::readKeptCorner(settings), availableScreenAreas())) {
        state.savedLeft = zel::toInt32(scale.twipsX(corner->x()));
        state.savedTop = zel::toInt32(scale.twipsY(corner->y()));
    }
    window.load();
    const int exitCode = app.exec();
    // The benchmark's starts measure and leave the user's settings alone.
    if (!zel::FirstPaintReport::wanted()) {
        window.unload(); // records the board's place unless a dialog already did
        zel::keepCorner(settings, QPoint(scale.x(state.savedLeft), scale.y(state.savedTop)));
    }
    return exitCode;
}
