#include "board/BoardView.h"
#include "board/MainWindow.h"
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
#include <ctime>
#include <sys/resource.h>

namespace {
// Start-up measurement for the benchmark in bench/, which alone sets
// ZELTOMIL_EXIT_AFTER_FIRST_PAINT=1: right after the board's first paint the program prints
// the monotonic clock, its processor time and its peak resident size, then ends. Without the
// variable it does nothing.
class ExitAfterFirstPaint : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued: the rest of this paint pass (markers, buttons) and its flush come first.
            m_window = qobject_cast<QWidget*>(watched) ? static_cast<QWidget*>(watched)->window()
                                                       : nullptr;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    timespec now{};
                    clock_gettime(CLOCK_MONOTONIC, &now);
                    rusage usage{};
                    getrusage(RUSAGE_SELF, &usage);
                    const long long cpuUs =
                        (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                        usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
                    const QSize window = m_window ? m_window->size() : QSize();
                    std::printf("first-paint-ns %lld cpu-us %lld peak-rss-kb %ld window-px %d %d\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                                cpuUs, usage.ru_maxrss, window.width(), window.height());
                    std::fflush(stdout);
                    QApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool m_seen = false;
    QWidget* m_window = nullptr;
};
} // namespace

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

    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    if (!zel::codePageAvailable()) {
        QMessageBox::critical(nullptr, QStringLiteral("ゼルトミル"),
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
    zel::MainWindow window(zel::AppContext{state, files, platform});
    ExitAfterFirstPaint firstPaint;
    if (qEnvironmentVariableIntValue("ZELTOMIL_EXIT_AFTER_FIRST_PAINT") == 1)
        window.board()->installEventFilter(&firstPaint);
    window.load();
    return app.exec();
}
