// The real program among hostile files: help files that would block or busy it (the board must
// answer input within a second while the help opens), and a data file it may not read (said on
// the board and on stderr). Temporary files of killed saves, swept by every load, are
// tst_rosterfiles'.
#include "e2e/E2eSupport.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace zel::e2e;

namespace {
QByteArray repeated(const QByteArray& piece, int times) {
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

bool setMode(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

const QRgb kNoticeFill = qRgb(255, 255, 160);
} // namespace

class HostileFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { PREPARE_E2E(); }
    void init() {
        s.launcher.clear();
        s.keepErrors = false;
        s.prepareFolder = nullptr;
    }
    void cleanup() { s.stop(); }

    void helpKeepsTheBoardAnswering_data() {
        QTest::addColumn<QByteArray>("help");
        const QByteArray head = "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"";
        QTest::newRow("picture from a FIFO") << QByteArray("<p>help</p><img src=\"fifo.png\">");
        QTest::newRow("style sheet from a FIFO") << head + "fifo.png\"></head><body>help</body>";
        QTest::newRow("picture of /dev/zero")
            << QByteArray("<img src=\"/dev/zero\"><img src=\"zero.png\">");
        QTest::newRow("1 MB of nested tables") << repeated("<table><tr><td>", 70000);
        QTest::newRow("200 KB of nested tables") << repeated("<table><tr><td>", 13000);
        QTest::newRow("1 MB of NUL bytes") << QByteArray(1 << 20, '\0');
        QTest::newRow("100 KB of NUL bytes") << QByteArray(100 << 10, '\0');
    }
    // Ctrl+H opens the help within a second, and the board then answers a press on the green
    // picker button within a second.
    void helpKeepsTheBoardAnswering() {
        QFETCH(QByteArray, help);
        s.prepareFolder = [&help](const QString& folder) {
            QFile file(folder + "/zelto.hlp");
            return file.open(QIODevice::WriteOnly) && file.write(help) == help.size() &&
                   ::mkfifo(QFile::encodeName(folder + "/fifo.png").constData(), 0644) == 0 &&
                   QFile::link("/dev/zero", folder + "/zero.png");
        };
        STEP(s.start(startRoster()) && s.placeWindow({40, 40}) &&
             s.boardShows(kStartBoard, "start"));
        xdo({"windowactivate", "--sync", s.window});
        QElapsedTimer clock;
        clock.start();
        xdo({"key", "--clearmodifiers", "ctrl+h"});
        QString helpWindow;
        const bool opened =
            eventually([&] { return !(helpWindow = s.otherWindow()).isEmpty(); }, 1000);
        QVERIFY2(opened,
                 qPrintable(QStringLiteral("no help window after %1 ms").arg(clock.elapsed())));
        // Out of the board's way, then a press on the green picker button.
        xdo({"windowmove", helpWindow, "1100", "600"});
        STEP(s.boardShows(kStartBoard, "with the help open"));
        clock.restart();
        clickAt(s.origin + QPoint(50, 113));
        QVERIFY2(eventually([&] { return s.windows().size() == 3; }, 1000),
                 qPrintable(QStringLiteral("no duty list after %1 ms").arg(clock.elapsed())));
        QCOMPARE(s.program->state(), QProcess::Running);
    }

    // A list file this user may not read: the board shows it empty, as a missing one, and says
    // so on the board and on stderr. Root reads every file, so there the program runs as
    // "nobody".
    void unreadableFileIsSaid() {
        if (::geteuid() == 0)
            s.launcher = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        s.keepErrors = true;
        s.prepareFolder = [](const QString& folder) {
            return setMode(folder, 0755) && setMode(folder + "/zelto1.dat", 0);
        };
        STEP(s.start(startRoster()));
        // No green markers (their list is unread), the notice in the buttons' row or above it.
        STEP(s.boardShows({{134, 21, kGreenFill, false}, {194, 21, kYellowFill}}, "start"));
        const WindowInfo board = windowInfo(s.window);
        const QImage shot = grab();
        QVERIFY2(share(shot, QRect(s.origin, board.client.size()), kNoticeFill) > 0.01,
                 "no notice on the board");
        QByteArray errors;
        QVERIFY2(eventually(
                     [&] {
                         errors += s.program->readAllStandardError();
                         return QString::fromUtf8(errors).contains(
                             "「" + s.folder->file("zelto1.dat") + "」を読めません");
                     },
                     5000),
                 errors.constData());
        STEP(s.filesAre({}, "after the start")); // nothing written
    }

  private:
    Session s;
};

QTEST_GUILESS_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
